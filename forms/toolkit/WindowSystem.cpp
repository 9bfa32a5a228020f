#include "WindowSystem.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace qimlar::toolkit {

// A fixed window's border on Windows is the thin one of a dialog: without the hint, Qt gives
// every window the resizing frame (WS_THICKFRAME), even one whose size is fixed. Other window
// systems ignore it.
void makeFixedSingleWindow(QWidget& window)
{
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint);
}

void makeToolWindow(QWidget& window)
{
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

void addMinimizeBox(QWidget& window)
{
    window.setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

bool handMoveToWindowSystem(QWidget& window)
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
           window.windowHandle() && window.windowHandle()->startSystemMove();
}

} // namespace qimlar::toolkit
