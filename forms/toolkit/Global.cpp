#include "Global.h"

#include <QApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace qimlar::toolkit {

namespace {

int loadedWindows = 0;

// Deferred to the event loop, so that unloading one window and showing the next, as the
// start-up does, never ends the program in between.
void endWhenNoWindowIsLoaded()
{
    QTimer::singleShot(0, qApp, [] {
        if (loadedWindows == 0)
            QCoreApplication::quit();
    });
}

} // namespace

void WindowRegistry::loaded(QWidget& window)
{
    // The close box unloads a window, as Unload does.
    window.setAttribute(Qt::WA_DeleteOnClose);
    ++loadedWindows;
    QObject::connect(&window, &QObject::destroyed, [] {
        --loadedWindows;
        endWhenNoWindowIsLoaded();
    });
}

void WindowRegistry::unload(QWidget& window)
{
    window.hide();
    window.deleteLater();
}

void WindowRegistry::placeOnFirstShow(QWidget& window)
{
    if (window.isVisible() || window.testAttribute(Qt::WA_Moved))
        return;
    window.ensurePolished();
    if (QLayout* layout = window.layout())
        layout->activate();
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                    screen->availableGeometry())
                    .topLeft());
}

void End()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

} // namespace qimlar::toolkit
