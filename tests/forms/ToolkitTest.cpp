// The toolkit layer under the windows: global instances, loading, Show, Unload, the input
// prompt, and the end of the program once no window is loaded.

#include "QtTestProgram.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Global.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>
#include <QtTest>

namespace {

// A window that counts its loads and notes what the toolkit showed it while loading.
class Probe : public QLabel
{
public:
    static inline int loads = 0;
    bool visibleWhileLoading = true;
    bool globalWasThisWindow = false;

    void Form_Load()
    {
        ++loads;
        visibleWhileLoading = isVisible();
        globalWasThisWindow = &qimlar::toolkit::Global<Probe>::get() == this;
    }
};

using ProbeWindow = qimlar::toolkit::Global<Probe>;

int visibleProbes()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += dynamic_cast<Probe*>(window) && window->isVisible();
    return count;
}

QString promptAnswered(const std::function<void(QInputDialog&)>& answer)
{
    QString text;
    answerPrompt(
        [&] {
            text = qimlar::toolkit::InputBox(QStringLiteral("prompt"), QStringLiteral("title"),
                                             QStringLiteral("default"));
        },
        answer);
    return text;
}

} // namespace

class ToolkitTest : public QObject
{
    Q_OBJECT

private slots:
    void loadRunsOnceBeforeTheWindowIsFirstShown();
    void showNeverOpensASecondCopy();
    void unloadAndTheCloseBoxBothLoadAfreshNextTime();
    void thePromptGivesTheTextOnlyOnOk();
    void theProgramEndsWhenNoWindowIsLoaded();
};

void ToolkitTest::loadRunsOnceBeforeTheWindowIsFirstShown()
{
    Probe::loads = 0;
    ProbeWindow::Show();
    QCOMPARE(Probe::loads, 1);
    QVERIFY(!ProbeWindow::get().visibleWhileLoading);
    QVERIFY(ProbeWindow::get().globalWasThisWindow);
    QVERIFY(ProbeWindow::get().isVisible());
    ProbeWindow::Unload();
}

void ToolkitTest::showNeverOpensASecondCopy()
{
    Probe::loads = 0;
    ProbeWindow::Show();
    Probe* first = &ProbeWindow::get();
    ProbeWindow::Show();
    QCOMPARE(&ProbeWindow::get(), first);
    QCOMPARE(Probe::loads, 1);
    QCOMPARE(visibleProbes(), 1);
    ProbeWindow::Unload();
}

void ToolkitTest::unloadAndTheCloseBoxBothLoadAfreshNextTime()
{
    Probe::loads = 0;
    ProbeWindow::Show();
    QPointer<Probe> first = &ProbeWindow::get();
    first->setText(QStringLiteral("changed"));

    ProbeWindow::Unload();
    QVERIFY(!ProbeWindow::isLoaded());
    QVERIFY(!first->isVisible());
    QTRY_VERIFY(first.isNull());

    ProbeWindow::Show();
    QCOMPARE(Probe::loads, 2);
    QVERIFY(ProbeWindow::get().text().isEmpty());

    QPointer<Probe> second = &ProbeWindow::get();
    second->close();
    QTRY_VERIFY(second.isNull());
    QVERIFY(!ProbeWindow::isLoaded());
    ProbeWindow::Show();
    QCOMPARE(Probe::loads, 3);
    ProbeWindow::Unload();
}

void ToolkitTest::thePromptGivesTheTextOnlyOnOk()
{
    QString seenDefault;
    QCOMPARE(promptAnswered([&](QInputDialog& prompt) {
                 seenDefault = prompt.textValue();
                 prompt.setTextValue(QStringLiteral(" typed "));
                 prompt.accept();
             }),
             QStringLiteral(" typed "));
    QCOMPARE(seenDefault, QStringLiteral("default"));
    QCOMPARE(promptAnswered([](QInputDialog& prompt) {
                 prompt.setTextValue(QStringLiteral("typed"));
                 prompt.reject();
             }),
             QString());
    QCOMPARE(promptAnswered([](QInputDialog& prompt) {
                 prompt.setTextValue(QStringLiteral("typed"));
                 prompt.close();
             }),
             QString());
}

void ToolkitTest::theProgramEndsWhenNoWindowIsLoaded()
{
    verifyChildEndsWithStatusZero("--close-child");
}

// The child of theProgramEndsWhenNoWindowIsLoaded: one window shown, then closed by its close
// box. Passing from one window to the next, as the start-up does, must not end it.
static int closeTheLastWindow()
{
    static bool closedByCloseBox = false;
    ProbeWindow::Show();
    QTimer::singleShot(0, [] {
        ProbeWindow::Unload();
        qimlar::toolkit::Global<QLabel>::Show();
        QTimer::singleShot(50, [] {
            closedByCloseBox = true;
            qimlar::toolkit::Global<QLabel>::get().close();
        });
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });
    const int status = QApplication::exec();
    return status == 0 && closedByCloseBox ? 0 : 4;
}

int main(int argc, char* argv[])
{
    return runQtTests<ToolkitTest>(argc, argv, "--close-child", closeTheLastWindow);
}

#include "ToolkitTest.moc"
