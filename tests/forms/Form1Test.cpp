// The main window, driven as a user drives it: the real input prompt is answered, the buttons
// are clicked, and what the window then shows is read back. The lookup and the launcher answer
// from a recording fake.

#include "Form1.h"

#include "FakePlatform.h"
#include "QtTestProgram.h"
#include "toolkit/Global.h"
#include "toolkit/Twips.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

template <class W = QWidget> W* control(QWidget& form, const char* name)
{
    auto* widget = form.findChild<W*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

// Left, top, width and height in twips, as the window definition gives them.
QList<int> twips(QWidget& form, const char* name)
{
    const QRect r = control(form, name)->geometry();
    return {r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15};
}

// Clicks the search button and, once the prompt is up, hands it to `answer`.
void search(QWidget& form, const std::function<void(QInputDialog&)>& answer)
{
    answerPrompt([&] { control<QPushButton>(form, "Command1")->click(); }, answer);
}

void searchFor(QWidget& form, const QString& extension)
{
    search(form, [&](QInputDialog& prompt) {
        prompt.setTextValue(extension);
        prompt.accept();
    });
}

// Does `act`, answering every message box it opens; the last box's title and text, or nothing
// when none opened.
QStringList messageFrom(const std::function<void()>& act)
{
    QStringList said;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            said = {box->windowTitle(), box->text()};
            box->accept();
        }
    });
    poll.start(10);
    act();
    return said;
}

// The mouse as the window system reports it to the program's one main window: the pointer at a
// point of the screen, given in the window's coordinates of the moment.
struct Mouse
{
    qimlar::Form1& form = qimlar::toolkit::Global<qimlar::Form1>::get();
    QPoint at;
    Qt::MouseButtons held;

    QPoint local() const { return at - form.geometry().topLeft(); }
    void moveTo(QPoint point)
    {
        at = point;
        QTest::mouseMove(form.windowHandle(), local());
    }
    void moveBy(int dx, int dy) { moveTo(at + QPoint(dx, dy)); }
    void press(Qt::MouseButton button)
    {
        QTest::mousePress(form.windowHandle(), button, {}, local());
        held |= button;
    }
    void release(Qt::MouseButton button)
    {
        QTest::mouseRelease(form.windowHandle(), button, {}, local());
        held &= ~button;
    }
    // A point of the screen over `name`'s centre; for the picture, a point that no control
    // covers, whichever controls a search uncovers.
    QPoint over(const char* name)
    {
        QWidget* widget = control(form, name);
        if (qstrcmp(name, "Image1") == 0)
            return widget->mapToGlobal(QPoint(24, 130));
        return widget->mapToGlobal(widget->rect().center());
    }
};

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qimlar::toolkit::Global<qimlar::Form1>::Unload();
        processDeferredDeletes();
    }

    void opensInTheStartState();
    void theDefinitionKeepsItsSpacesFontAndTabOrder();
    void theSearchAsksThroughAnArabicPromptAndUncoversTheResult();
    void label3ShowsTheExtensionAsTyped_data();
    void label3ShowsTheExtensionAsTyped();
    void theExtensionStandsLeftOfTheSentenceItEnds();
    void theRunButtonFollowsTheLastSearch();
    void theRunButtonHandsThePathBoxTextUnchanged();
    void theRunButtonOpensATerminalForTheAnswerAlone();
    void troubleAndFailedStartsAreSaid();
    void theButtonsAreFlatPink();
    void aPressOnALabelReachesThePicture();
    void dragsMoveTheWindowByThePointersTravel_data();
    void dragsMoveTheWindowByThePointersTravel();
    void aDragMayTakeTheWindowOffTheScreen();
    void aDragFollowsOnlyItsOwnPressAndRelease();
    void pressesOnTheButtonsAndThePathBoxNeverDrag_data();
    void pressesOnTheButtonsAndThePathBoxNeverDrag();
    void theWindowOpensWithAMinimizeBoxAndStaysFixed();
    void theExitButtonEndsTheProgram();
    void aRunningProgramLeavesTheWindowPaintingAndDeaf();
    void aScreenReaderReadsTheControlsAndTheResult();
};

void Form1Test::opensInTheStartState()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.centralWidget()->size(), QSize(361, 183));
    QCOMPARE(form.height(), form.menuBar()->height() + 183);
    QCOMPARE(form.minimumSize(), form.maximumSize());

    QCOMPARE(twips(form, "Command1"), (QList<int>{120, 840, 5175, 495}));
    QCOMPARE(twips(form, "Command3"), (QList<int>{1800, 1440, 1935, 375}));

    for (const char* shown : {"Image1", "Command1", "Command3"})
        QVERIFY2(control(form, shown)->isVisible(), shown);
    for (const char* hidden : {"Text1", "Label1", "Label2", "Label3", "Command2"})
        QVERIFY2(!control(form, hidden)->isVisible(), hidden);
    QCOMPARE(control<QLabel>(form, "Image1")->pixmap().size(), QSize(361, 183));
    QVERIFY(platform.calls.empty());
}

void Form1Test::theDefinitionKeepsItsSpacesFontAndTabOrder()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);

    QCOMPARE(form.windowTitle(), QString(25, QLatin1Char(' ')) + QStringLiteral("Qimlar"));
    QVERIFY(!(form.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(control<QPushButton>(form, "Command2")->text().startsWith(QLatin1Char(' ')));
    const QString tip = control(form, "Command1")->toolTip();
    QCOMPARE(tip.size(), 31);
    QCOMPARE(tip.count(QLatin1Char('"')), 2);
    QVERIFY(tip.startsWith(QStringLiteral("* ")) && tip.endsWith(QStringLiteral(" *")));

    const QFont pathFont = control(form, "Text1")->font();
    QCOMPARE(pathFont.pointSizeF(), 8.25);
    const QString shownFamily = QFontInfo(pathFont).family();
    QVERIFY2(QFontDatabase::writingSystems(shownFamily).contains(QFontDatabase::Arabic),
             qPrintable(shownFamily));

    QStringList tabOrder;
    QWidget* next = control(form, "Command1");
    for (int i = 0; i < 40 && tabOrder.size() < 4; ++i, next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder << next->objectName();
    QCOMPARE(tabOrder, (QStringList{"Command1", "Text1", "Command2", "Command3"}));
}

void Form1Test::theSearchAsksThroughAnArabicPromptAndUncoversTheResult()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();

    for (int round = 0; round < 2; ++round) {
        search(form, [](QInputDialog& prompt) {
            QCOMPARE(prompt.windowTitle(), QStringLiteral("Qimlar"));
            QCOMPARE(prompt.labelText().size(), 54);
            QVERIFY(prompt.labelText().isRightToLeft());
            QCOMPARE(prompt.layoutDirection(), Qt::RightToLeft);
            QVERIFY(prompt.textValue().isEmpty());
            const auto buttons = prompt.findChild<QDialogButtonBox*>()->buttons();
            QCOMPARE(buttons.size(), 2);
            for (QAbstractButton* button : buttons) {
                QVERIFY2(button->text().isRightToLeft(), qPrintable(button->text()));
                QVERIFY(button->icon().isNull());
            }
            prompt.setTextValue(QStringLiteral("mp3"));
            prompt.accept();
        });

        QCOMPARE(control<QPlainTextEdit>(form, "Text1")->toPlainText(),
                 QStringLiteral("/usr/bin/mpv"));
        QCOMPARE(twips(form, "Command1"), (QList<int>{120, 1560, 5175, 495}));
        QCOMPARE(twips(form, "Command3"), (QList<int>{720, 2160, 1935, 375}));
        for (const char* shown : {"Text1", "Label1", "Label2", "Label3", "Command2"})
            QVERIFY2(control(form, shown)->isVisible(), shown);
        QVERIFY(control(form, "Command2")->isEnabled());
    }
    QCOMPARE(platform.calls.at(3), std::string("find /tmp/~k3vq.mp3"));
}

void Form1Test::label3ShowsTheExtensionAsTyped_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("probe");
    // clang-format off
    QTest::newRow("mp3")              << false << "mp3"  << "mp3."  << "/tmp/~k3vq.mp3";
    QTest::newRow("with its dot")     << false << ".mp3" << ".mp3." << "/tmp/~k3vq..mp3";
    QTest::newRow("capitals, spaces") << false << " MP3" << " MP3." << "/tmp/~k3vq. MP3";
    QTest::newRow("cancel")           << true  << "mp3"  << "."     << "/tmp/~k3vq.";
    // clang-format on
}

void Form1Test::label3ShowsTheExtensionAsTyped()
{
    QFETCH(bool, cancel);
    QFETCH(QString, typed);
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();

    search(form, [&](QInputDialog& prompt) {
        prompt.setTextValue(typed);
        if (cancel)
            prompt.reject();
        else
            prompt.accept();
    });
    auto* label3 = control<QLabel>(form, "Label3");
    QTEST(label3->text(), "label");
    QVERIFY(label3->x() + label3->width() <= 179);
    QCOMPARE(label3->size(), label3->sizeHint());
    QFETCH(QString, probe);
    QCOMPARE(QString::fromStdString(platform.calls.at(3)), QStringLiteral("find ") + probe);
}

// Where the sentence's letters begin, read from its pixels: the leftmost column that differs
// from the background, in the window's client coordinates.
int inkLeft(QWidget& label)
{
    const QImage image = label.grab().toImage();
    const QColor background = image.pixelColor(0, 0);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != background)
                return label.x() + x;
    return label.x() + label.width();
}

void Form1Test::theExtensionStandsLeftOfTheSentenceItEnds()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    auto* sentence = control<QLabel>(form, "Label2");
    auto* label3 = control<QLabel>(form, "Label3");
    // The sentence's box holds all of it, in whatever font this machine draws it.
    QVERIFY(sentence->width() >= sentence->sizeHint().width());
    QCOMPARE(sentence->x() + sentence->width(), 337);

    searchFor(form, QStringLiteral("mp3"));
    const int rightEdge = label3->x() + label3->width();
    // Where the definition ends it, or further left when the sentence needs the room.
    QVERIFY(rightEdge <= 179 && rightEdge > 150);
    QVERIFY2(rightEdge <= inkLeft(*sentence), qPrintable(QString::number(inkLeft(*sentence))));
    // Laid out right to left like the sentence it ends: the full stop stands at the left end, as
    // a plain label would show the mirrored text.
    QLabel mirrored(QStringLiteral(".mp3"), form.centralWidget());
    mirrored.setPalette(label3->palette());
    mirrored.setAlignment(label3->alignment());
    mirrored.resize(label3->size());
    QCOMPARE(label3->grab().toImage(), mirrored.grab().toImage());

    for (int length = 1; length <= 10; ++length) {
        searchFor(form, QStringLiteral("MWMWMWMWMW").left(length));
        QCOMPARE(label3->x() + label3->width(), rightEdge);
        QCOMPARE(label3->width(), label3->sizeHint().width());
        QCOMPARE(label3->y(), sentence->y());
    }
}

void Form1Test::theRunButtonFollowsTheLastSearch()
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

void Form1Test::theRunButtonHandsThePathBoxTextUnchanged()
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

void Form1Test::theRunButtonOpensATerminalForTheAnswerAlone()
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

void Form1Test::troubleAndFailedStartsAreSaid()
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

void Form1Test::theButtonsAreFlatPink()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    searchFor(form, QStringLiteral("mp3"));
    for (const char* name : {"Command1", "Command2", "Command3"}) {
        QWidget* button = control(form, name);
        const QImage face = button->grab().toImage();
        for (const QPoint at : {QPoint(button->width() / 2, 3), QPoint(3, button->height() / 2),
                                QPoint(button->width() / 2, button->height() - 4)})
            QVERIFY2(face.pixelColor(at) == QColor(255, 192, 192), name);
    }
}

void Form1Test::aPressOnALabelReachesThePicture()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    searchFor(form, QStringLiteral("mp3"));
    QWidget* client = form.centralWidget();
    for (const char* label : {"Label1", "Label2", "Label3"})
        QVERIFY2(client->childAt(control(form, label)->geometry().center()) ==
                     control(form, "Image1"),
                 label);
    QCOMPARE(client->childAt(control(form, "Command3")->geometry().center()),
             control(form, "Command3"));
}

void Form1Test::dragsMoveTheWindowByThePointersTravel_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("grab");
    QTest::newRow("left") << Qt::LeftButton << "Image1";
    QTest::newRow("right") << Qt::RightButton << "Image1";
    QTest::newRow("middle") << Qt::MiddleButton << "Image1";
    QTest::newRow("back") << Qt::BackButton << "Image1";
    QTest::newRow("on a label over the picture") << Qt::LeftButton << "Label1";
}

void Form1Test::dragsMoveTheWindowByThePointersTravel()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QString, grab);
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    control(mouse.form, "Label1")->setVisible(true);
    const QPoint start = mouse.form.pos();

    mouse.moveTo(mouse.over(grab.toLatin1()));
    mouse.press(button);
    mouse.release(button);
    QCOMPARE(mouse.form.pos(), start);
    // No button held, no drag.
    mouse.moveBy(15, 15);
    QCOMPARE(mouse.form.pos(), start);

    mouse.press(button);
    mouse.moveBy(37, 21);
    QCOMPARE(mouse.form.pos(), start + QPoint(37, 21));
    mouse.moveBy(-5, 8);
    mouse.moveBy(-1, -1);
    QCOMPARE(mouse.form.pos(), start + QPoint(31, 28));
    mouse.release(button);
    mouse.moveBy(20, 20);
    QCOMPARE(mouse.form.pos(), start + QPoint(31, 28));
}

void Form1Test::aDragMayTakeTheWindowOffTheScreen()
{
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    QWidget* picture = control(mouse.form, "Image1");
    const QPoint corner = mouse.form.screen()->geometry().bottomRight();
    // Grabbed by its upper left corner and dragged, step by step, into the screen's lower right
    // one: nearly all of the window leaves the screen.
    const QPoint start = mouse.form.pos();
    mouse.moveTo(picture->mapToGlobal(QPoint(2, 2)));
    const QPoint travel = corner - mouse.at;
    mouse.press(Qt::LeftButton);
    while (mouse.at != corner)
        mouse.moveBy(std::min(30, corner.x() - mouse.at.x()),
                     std::min(30, corner.y() - mouse.at.y()));
    mouse.release(Qt::LeftButton);
    QCOMPARE(mouse.form.pos(), start + travel);
    QVERIFY(mouse.form.x() > corner.x() - 10 && mouse.form.y() > corner.y() - 30);
    QCOMPARE(mouse.form.size(), QSize(361, 183 + mouse.form.menuBar()->height()));
}

void Form1Test::aDragFollowsOnlyItsOwnPressAndRelease()
{
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    const QPoint start = mouse.form.pos();

    // A release with no drag under way changes nothing.
    mouse.moveTo(mouse.over("Image1"));
    mouse.release(Qt::LeftButton);
    mouse.moveBy(10, 10);
    QCOMPARE(mouse.form.pos(), start);

    // A second press rebases the drag on the point it grabs.
    mouse.press(Qt::LeftButton);
    mouse.moveBy(10, 0);
    mouse.press(Qt::RightButton);
    mouse.moveBy(0, 6);
    QCOMPARE(mouse.form.pos(), start + QPoint(10, 6));

    // The first release ends the drag, though another button is still held.
    mouse.release(Qt::RightButton);
    mouse.moveBy(9, 9);
    QCOMPARE(mouse.form.pos(), start + QPoint(10, 6));
    mouse.release(Qt::LeftButton);
}

void Form1Test::pressesOnTheButtonsAndThePathBoxNeverDrag_data()
{
    QTest::addColumn<QString>("target");
    for (const char* target : {"Command1", "Command2", "Command3", "Text1"})
        QTest::newRow(target) << target;
}

void Form1Test::pressesOnTheButtonsAndThePathBoxNeverDrag()
{
    QFETCH(QString, target);
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    // The result area, as a search uncovers it, without asking.
    for (const char* name : {"Command2", "Text1"})
        control(mouse.form, name)->setVisible(true);
    qimlar::toolkit::setTop(*control(mouse.form, "Command1"), 1560);
    qimlar::toolkit::setTop(*control(mouse.form, "Command3"), 2160);
    control(mouse.form, "Command2")->setEnabled(false);
    const QPoint start = mouse.form.pos();

    mouse.moveTo(mouse.over(target.toLatin1()));
    // A button that is pressed would start its work: the press is held, never released.
    mouse.press(Qt::RightButton);
    mouse.moveBy(30, 20);
    QCOMPARE(mouse.form.pos(), start);
    mouse.release(Qt::RightButton);
}

void Form1Test::theWindowOpensWithAMinimizeBoxAndStaysFixed()
{
    // The flags the window has when it is first shown: changed afterwards, they would hide it.
    struct FirstShow : QObject
    {
        Qt::WindowFlags flags;
        bool eventFilter(QObject* object, QEvent* event) override
        {
            if (event->type() == QEvent::Show && qobject_cast<qimlar::Form1*>(object) && !flags)
                flags = static_cast<QWidget*>(object)->windowFlags();
            return false;
        }
    } firstShow;
    qApp->installEventFilter(&firstShow);
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    qApp->removeEventFilter(&firstShow);
    qimlar::Form1& form = qimlar::toolkit::Global<qimlar::Form1>::get();

    QCOMPARE(firstShow.flags, form.windowFlags());
    QCOMPARE(form.windowFlags(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                     Qt::WindowCloseButtonHint);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    form.showMinimized();
    QVERIFY(form.isMinimized());
}

void Form1Test::theExitButtonEndsTheProgram()
{
    verifyChildEndsWithStatusZero("--exit-child");
}

void Form1Test::aRunningProgramLeavesTheWindowPaintingAndDeaf()
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
    control<QPlainTextEdit>(mouse.form, "Text1")->setPlainText(QStringLiteral("/bin/sleep 2"));
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

void Form1Test::aScreenReaderReadsTheControlsAndTheResult()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    searchFor(form, QStringLiteral("mp3"));
    const auto read = [&](const char* name) {
        return QAccessible::queryAccessibleInterface(control(form, name));
    };
    // The letters a caption shows, whatever stretches or frames them for the eye.
    const auto letters = [](QString text) {
        return text.remove(QRegularExpression(QStringLiteral("[\\x{0640}\\s*:-]")));
    };

    QAccessibleInterface* pathBox = read("Text1");
    QCOMPARE(pathBox->role(), QAccessible::EditableText);
    QCOMPARE(letters(pathBox->text(QAccessible::Name)),
             letters(control<QLabel>(form, "Label1")->text()));
    QCOMPARE(pathBox->text(QAccessible::Value), QStringLiteral("/usr/bin/mpv"));
    QCOMPARE(pathBox->text(QAccessible::Description),
             control<QLabel>(form, "Label2")->text() + QStringLiteral(" mp3."));

    for (const char* name : {"Command1", "Command2", "Command3"}) {
        QAccessibleInterface* button = read(name);
        QCOMPARE(button->role(), QAccessible::Button);
        const QString spoken = button->text(QAccessible::Name);
        QVERIFY2(!spoken.contains(QChar(0x0640)) && spoken == spoken.simplified(), name);
        QCOMPARE(letters(spoken), letters(control<QPushButton>(form, name)->text()));
        QCOMPARE(letters(button->text(QAccessible::Description)),
                 letters(control(form, name)->toolTip()));
    }
    QCOMPARE(read("Image1")->role(), QAccessible::Graphic);
    QVERIFY(!read("Image1")->text(QAccessible::Name).isEmpty());
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
    return runQtTests<Form1Test>(argc, argv, "--exit-child", clickExitInARealWindow);
}

#include "Form1Test.moc"
