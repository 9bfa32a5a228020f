#include "Toolkit.h"

#include <QApplication>
#include <QInputDialog>
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

void windowLoaded(QWidget& window)
{
    // The close box unloads a window, as Unload does.
    window.setAttribute(Qt::WA_DeleteOnClose);
    ++loadedWindows;
    QObject::connect(&window, &QObject::destroyed, [] {
        --loadedWindows;
        endWhenNoWindowIsLoaded();
    });
}

void unloadWindow(QWidget& window)
{
    window.hide();
    window.deleteLater();
}

void placeOnFirstShow(QWidget& window)
{
    if (window.isVisible() || window.testAttribute(Qt::WA_Moved))
        return;
    // Every window starts centred on the screen, as it is shown without an owner.
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

} // namespace qimlar::toolkit

namespace qimlar {

void End()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    // A window of its own: it takes the reading order of the prompt, not of any caller.
    QInputDialog dialog;
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultAnswer);
    // Plain text buttons: the style's icons push right-to-left captions out of the button.
    dialog.setStyleSheet(QStringLiteral("* { dialogbuttonbox-buttons-have-icons: 0; }"));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

} // namespace qimlar
