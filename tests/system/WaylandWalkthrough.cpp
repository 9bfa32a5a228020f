// Qimlar's windows on a real Wayland compositor, driven from inside: the program starts as
// main.cpp starts it, then, once each window is on the screen, the help menu's two entries are
// chosen and the exit button is pressed, as a user would. The compositor's side of it is read
// from the protocol log (WAYLAND_DEBUG) by WaylandTest.sh; this program's exit status is the
// program's own, and 3 when a window never appeared.

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "frmshow.h"
#include "toolkit/Global.h"
#include "toolkit/RunTime.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

bool onScreen(QWidget& window)
{
    return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
}

template <class F> QWidget& window()
{
    return qimlar::toolkit::Global<F>::get();
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
    qimlar::toolkit::prepareRunTime(application);
    // A window that never appears ends the run as a failure instead of leaving it waiting.
    QTimer::singleShot(30000, [] {
        std::fputs("walkthrough: a window did not appear within 30 seconds\n", stderr);
        QCoreApplication::exit(3);
    });

    qimlar::toolkit::runStartUpWindow<qimlar::frmshow>();

    // Each step waits until its window is on the screen, then does what a user would do next.
    struct Step
    {
        QWidget& (*window)();
        const char* name;
        std::function<void()> then;
    };
    auto mainWindow = window<qimlar::Form1>;
    const std::vector<Step> steps{
        {mainWindow, "main window",
         [=] {
             control<QAction>(mainWindow(), "about").trigger();
         }},
        {window<qimlar::Form2>, "about window",
         [=] {
             control<QAction>(mainWindow(), "fad").trigger();
         }},
        {window<qimlar::Form3>, "usefulness window",
         [=] {
             control<QPushButton>(mainWindow(), "Command3").click();
         }},
    };
    std::size_t next = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (next == steps.size() || !onScreen(steps[next].window()))
            return;
        std::fprintf(stderr, "walkthrough: %s on the screen\n", steps[next].name);
        steps[next++].then();
    });
    poll.start(20);
    return QApplication::exec();
}
