#include "WindowSystem.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace qimlar::toolkit {

void makeFixedSingleWindow(QWidget& window)
{
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void makeToolWindow(QWidget& window)
{
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
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
