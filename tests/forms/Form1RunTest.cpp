// The main window's run and exit buttons: what the run starts, in a terminal where the answer
// asks for one, what it says when nothing starts, the window while the program runs, and the end
// of the program. The lookup and the launcher answer from a recording fake.

#include "FakePlatform.h"
#include "Form1Driver.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QPlainTextEdit>

class Form1RunTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qimlar::toolkit::Global<qimlar::Form1>::Unload();
        processDeferredDeletes();
    }

    void theRunButtonFollowsTheLastSearch();
    void theRunButtonHandsThePathBoxTextUnchanged();
    void theRunButtonOpensATerminalForTheAnswerAlone();
    void troubleAndFailedStartsAreSaid();
    void aRunningProgramLeavesTheWindowPaintingAndDeaf();
    void theExitButtonEndsTheProgram();
};

void Form1RunTest::theRunButtonFollowsTheLastSearch()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    auto* run = control(form, "Command2");

    searchFor(form, QStringLiteral("mp3"));
    QVERIFY(run->isEnabled());

    platform.executable.clear();
    searchFor(form, QStringLiteral("zzz"));
    QVERIFY(control<QPlainTextEdit>(form, "Text1")->toPlainText().isEmpty());
    QVERIFY(run->isVisible());
    QVERIFY(!run->isEnabled());

    // Typing into the path box leaves the button as the search left it.
    control<QPlainTextEdit>(form, "Text1")->setPlainText(QStringLiteral("/usr/bin/true"));
    QVERIFY(!run->isEnabled());
}

void Form1RunTest::theRunButtonHandsThePathBoxTextUnchanged()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    searchFor(form, QStringLiteral("mp3"));

    const QString typed = QStringLiteral("/opt/My App/app --full  ");
    control<QPlainTextEdit>(form, "Text1")->setPlainText(typed);
    platform.calls.clear();
    control<QPushButton>(form, "Command2")->click();
    QCOMPARE(platform.calls, (std::vector<std::string>{"start " + typed.toStdString()}));
}

void Form1RunTest::theRunButtonOpensATerminalForTheAnswerAlone()
{
    FakePlatform platform;
    platform.runsInTerminal = true;
    qimlar::Form1 form(platform);
    form.show();
    auto* path = control<QPlainTextEdit>(form, "Text1");
    auto* run = control<QPushButton>(form, "Command2");
    searchFor(form, QStringLiteral("txt"));

    platform.calls.clear();
    run->click();
    QCOMPARE(platform.calls,
             (std::vector<std::string>{"terminal /usr/bin/mpv",
                                       "start x-terminal-emulator -e /usr/bin/mpv"}));

    // Text the user edited runs as it is.
    path->setPlainText(QStringLiteral("/usr/bin/mpv --fs"));
    platform.calls.clear();
    run->click();
    QCOMPARE(platform.calls, (std::vector<std::string>{"start /usr/bin/mpv --fs"}));

    // With no terminal emulator, a message says so and nothing starts.
    path->setPlainText(QStringLiteral("/usr/bin/mpv"));
    platform.terminalEmulator = qimlar::Failure{"no terminal emulator"};
    platform.calls.clear();
    const QStringList said = messageFrom([&] { run->click(); });
    QCOMPARE(said.value(0), QStringLiteral("Qimlar"));
    QVERIFY(said.value(1).contains(QStringLiteral("طرفية")));
    QCOMPARE(platform.calls, (std::vector<std::string>{"terminal /usr/bin/mpv"}));
}

void Form1RunTest::troubleAndFailedStartsAreSaid()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    auto* path = control<QPlainTextEdit>(form, "Text1");
    auto* run = control<QPushButton>(form, "Command2");

    // A search that ran into trouble names the cause, and the window shows no answer.
    const std::string noFolder = "cannot make a file in /no/such/: No such file or directory";
    platform.folder = qimlar::Failure{noFolder};
    QStringList said = messageFrom([&] { searchFor(form, QStringLiteral("mp3")); });
    QCOMPARE(said.value(0), QStringLiteral("Qimlar"));
    QVERIFY(said.value(1).endsWith(QString::fromStdString(noFolder)));
    QVERIFY(path->toPlainText().isEmpty());
    QVERIFY(!run->isEnabled());

    // A search that finds nothing, or finds the program, says nothing more.
    platform.folder = std::string("/tmp/");
    QVERIFY(messageFrom([&] { searchFor(form, QStringLiteral("mp3")); }).isEmpty());
    QVERIFY(run->isEnabled());

    // A run that starts nothing says why instead of returning in silence.
    platform.started = qimlar::Failure{"cannot start \"/usr/bin/mpv\": it names no program"};
    said = messageFrom([&] { run->click(); });
    QCOMPARE(said.value(0), QStringLiteral("Qimlar"));
    QVERIFY(said.value(1).endsWith(QStringLiteral("it names no program")));
    platform.started = qimlar::ProcessHandle{};
    QVERIFY(messageFrom([&] { run->click(); }).isEmpty());
}

void Form1RunTest::aRunningProgramLeavesTheWindowPaintingAndDeaf()
{
    // Counts the paints served and the prompts opened, and turns every prompt down.
    struct Watch : QObject
    {
        int paints = 0;
        int prompts = 0;
        bool eventFilter(QObject* object, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            if (event->type() == QEvent::Show && qobject_cast<QInputDialog*>(object)) {
                ++prompts;
                QTimer::singleShot(0, object,
                                   [object] { static_cast<QDialog*>(object)->reject(); });
            }
            return false;
        }
    } watch;
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    for (const char* name : {"Command2", "Text1"})
        control(mouse.form, name)->setVisible(true);
    control<QPlainTextEdit>(mouse.form, "Text1")->setPlainText(twoSecondProgram());
    auto* run = control<QPushButton>(mouse.form, "Command2");
    run->setFocus();
    const QPoint start = mouse.form.pos();
    const auto click = [&](const char* name) {
        mouse.moveTo(mouse.over(name));
        mouse.press(Qt::LeftButton);
        mouse.release(Qt::LeftButton);
    };
    qApp->installEventFilter(&watch);

    int paintsBefore = -1;
    QTimer::singleShot(200, &mouse.form, [&] {
        for (const char* name : {"Command1", "Command2", "Command3", "Text1"})
            QVERIFY2(!control(mouse.form, name)->isEnabled(), name);
        QVERIFY(!mouse.form.menuBar()->isEnabled());
        QVERIFY(!mouse.form.close() && mouse.form.isVisible());
        // A click on the search button and a drag by the picture, through the window system.
        click("Command1");
        mouse.moveTo(mouse.over("Image1"));
        mouse.press(Qt::LeftButton);
        mouse.moveBy(30, 20);
        mouse.release(Qt::LeftButton);
        QCOMPARE(mouse.form.pos(), start);
        paintsBefore = watch.paints;
        control(mouse.form, "Image1")->update();
    });
    int paintsServed = 0;
    QTimer::singleShot(500, &mouse.form, [&] { paintsServed = watch.paints - paintsBefore; });
    QElapsedTimer clock;
    clock.start();
    run->click();
    QVERIFY(clock.elapsed() >= 1900);
    QVERIFY(paintsBefore >= 0 && paintsServed > 0);
    QCoreApplication::processEvents();
    QCOMPARE(watch.prompts, 0);

    // Afterwards the window is as it was before the run.
    for (const char* name : {"Command2", "Command3", "Text1"})
        QVERIFY2(control(mouse.form, name)->isEnabled(), name);
    QVERIFY(mouse.form.menuBar()->isEnabled());
    QCOMPARE(mouse.form.focusWidget(), run);
    click("Command1");
    QCOMPARE(watch.prompts, 1);
    qApp->removeEventFilter(&watch);
}

void Form1RunTest::theExitButtonEndsTheProgram()
{
    verifyChildEndsWithStatusZero("--exit-child");
}

// The child of theExitButtonEndsTheProgram: the real program's window with the About and the
// usefulness window open, its exit button clicked.
static int clickExitInARealWindow()
{
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    QTimer::singleShot(0, [] {
        qimlar::Form1& form = qimlar::toolkit::Global<qimlar::Form1>::get();
        form.findChild<QAction*>("about")->trigger();
        form.findChild<QAction*>("fad")->trigger();
        form.findChild<QPushButton*>("Command3")->click();
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(3); });
    return QApplication::exec();
}

int main(int argc, char* argv[])
{
    return runQtTests<Form1RunTest>(argc, argv, "--exit-child", clickExitInARealWindow);
}

#include "Form1RunTest.moc"
