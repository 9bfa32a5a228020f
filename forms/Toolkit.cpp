#include "Toolkit.h"

#include <QApplication>
#include <QInputDialog>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace qimlar::toolkit {

namespace {

int loadedWindows = 0;

std::function<double()> testClock;

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

void makeToolWindow(QWidget& window)
{
    window.setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

void setClock(std::function<double()> clock)
{
    testClock = std::move(clock);
}

} // namespace qimlar::toolkit

namespace qimlar {

void Move(QWidget& window, float left, float top)
{
    window.move(qRound(left / twipsPerPixel), qRound(top / twipsPerPixel));
}

double Timer()
{
    if (toolkit::testClock)
        return toolkit::testClock();
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void DoEvents(double maxWaitSeconds)
{
    if (!(maxWaitSeconds > 0)) {
        QCoreApplication::processEvents();
        return;
    }
    // A timer for the longest sleep wakes the loop should no other event come first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(std::ceil(std::min(maxWaitSeconds, 3600.0) * 1000)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void End()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

namespace {

// A dialog of its own takes the reading order of its Arabic text, not of any caller, and plain
// text buttons: the style's icons push right-to-left captions out of the button.
void readRightToLeft(QDialog& dialog)
{
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setStyleSheet(QStringLiteral("* { dialogbuttonbox-buttons-have-icons: 0; }"));
}

} // namespace

QString InputBox(const QString& prompt, const QString& title, const QString& defaultAnswer)
{
    QInputDialog dialog;
    readRightToLeft(dialog);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultAnswer);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void MsgBox(const QString& text, const QString& title, QWidget* parent)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    readRightToLeft(box);
    // Its button is made after the style that takes the icon off it.
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace qimlar
