// Qimlar's windows on a real Wayland compositor, driven from inside: the program starts as
// main.cpp starts it, then, once each window is on the screen, the help menu's two entries are
// chosen and the exit button is pressed, as a user would. The compositor's side of it is read
// from the protocol log (WAYLAND_DEBUG) by WaylandTest.sh; this program's exit status is the
// program's own, and 3 when a window never appeared.

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "RunTime.h"
#include "Toolkit.h"
#include "frmshow.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

bool onScreen(QWidget& window)
{
    return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
}

// Runs `then` once `window` is on the screen, looking every 20 ms.
void whenOnScreen(const std::function<QWidget&()>& window, const char* name,
                  std::function<void()> then)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [=] {
        if (!onScreen(window()))
            return;
        poll->deleteLater();
        std::fprintf(stderr, "walkthrough: %s on the screen\n", name);
        then();
    });
    poll->start(20);
}

template <class W> W& control(QWidget& window, const char* name)
{
    auto* found = window.findChild<W*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return *found;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    qimlar::prepareRunTime(application);
    using qimlar::Global;
    // A window that never appears ends the run as a failure instead of leaving it waiting.
    QTimer::singleShot(30000, [] {
        std::fputs("walkthrough: a window did not appear within 30 seconds\n", stderr);
        QCoreApplication::exit(3);
    });

    qimlar::runStartUpWindow<qimlar::frmshow>();

    auto main = []() -> QWidget& {
        return Global<qimlar::Form1>::get();
    };
    whenOnScreen(main, "main window", [=] {
        control<QAction>(main(), "about").trigger();
        whenOnScreen([]() -> QWidget& { return Global<qimlar::Form2>::get(); }, "about window",
                     [=] {
                         control<QAction>(main(), "fad").trigger();
                         whenOnScreen([]() -> QWidget& { return Global<qimlar::Form3>::get(); },
                                      "usefulness window",
                                      [=] { control<QPushButton>(main(), "Command3").click(); });
                     });
    });
    return QApplication::exec();
}
