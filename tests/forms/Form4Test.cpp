// The chooser: the last search's programs in the desktop's order, starting one, making one the
// default after a question that names the file and the line, undoing, the system's settings
// where a program may not change defaults, what fails, the keyboard and what screen readers
// read. The lookup and the change answer from a recording fake.

#include "Form4.h"

#include "FakePlatform.h"
#include "Form1Driver.h"
#include "toolkit/Dialogs.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>

using qimlar::DefaultChangeStatus;
using qimlar::Form4;
using qimlar::toolkit::Global;

namespace {

qimlar::ProgramChoice program(const std::string& path, const std::string& id,
                              const std::string& name, qimlar::ProgramRelation relation)
{
    qimlar::ProgramChoice choice;
    choice.program = path;
    choice.id = id;
    choice.name = name;
    choice.relation = relation;
    choice.entry = "/usr/share/applications/" + id;
    choice.command = path.empty() ? "ghost --play" : path;
    return choice;
}

// The main window over a fake desktop where mpv opens mp3 files, and vlc and an entry whose
// program is gone could; a process started now answers what the fake's answer is then.
struct Desktop
{
    Desktop()
    {
        using enum qimlar::ProgramRelation;
        platform.programs = {program("/usr/bin/mpv", "mpv.desktop", "mpv Media Player", Default),
                             program("/usr/bin/vlc", "vlc.desktop", "مشغّل VLC", Registered),
                             program("", "ghost.desktop", "", ParentType)};
        const std::string list = "/home/u/.config/mimeapps.list";
        const std::string line = "[Default Applications] audio/mpeg=vlc.desktop;";
        platform.preview.files = {{list, "--- a\n+++ b\n", {line}}};
        platform.change = platform.preview;
        platform.change.program = "/usr/bin/vlc";
        platform.change.answer = "/usr/bin/vlc";
        platform.undone.files = {{list, "", {"[Default Applications] audio/mpeg=mpv.desktop;"}}};
        main.show();
    }
    ~Desktop()
    {
        Global<Form4>::Unload();
        processDeferredDeletes();
    }

    FakePlatform platform;
    qimlar::Form1 main{platform, [this](const qimlar::FreshQuestion&) {
                           return qimlar::Outcome<qimlar::FreshAnswer>(
                               qimlar::FreshAnswer{platform.executable, {}});
                       }};

    QAction& menuItem() { return *main.findChild<QAction*>(QStringLiteral("choices")); }
    Form4& open()
    {
        searchFor(main, QStringLiteral("mp3"));
        menuItem().trigger();
        Form4& chooser = Global<Form4>::get();
        if (!QTest::qWaitForWindowActive(&chooser))
            qWarning("the chooser did not become active");
        return chooser;
    }
    QString pathBox() { return control<QPlainTextEdit>(main, "Text1")->toPlainText(); }
};

QListWidget& list(Form4& chooser)
{
    return *control<QListWidget>(chooser, "List1");
}

QPushButton& button(Form4& chooser, const char* name)
{
    return *control<QPushButton>(chooser, name);
}

} // namespace

class Form4Test : public QObject
{
    Q_OBJECT

private slots:
    void theMenuWaitsForASearchThatFoundAType();
    void everyProgramInTheDesktopsOrderTheDefaultMarked();
    void theQuestionNamesTheFileAndTheLineAndCancelWritesNothing();
    void theNewAnswerShowsInTheMainWindow();
    void undoShowsWhatWasPutBack();
    void failuresAreSaidWithTheSystemsReason_data();
    void failuresAreSaidWithTheSystemsReason();
    void theSettingsPageWhereProgramsMayNotChangeDefaults();
    void theStartButtonFollowsTheRunButtonsRules();
    void theKeyboardAlone();
    void screenReadersReadItsControls();
};

void Form4Test::theMenuWaitsForASearchThatFoundAType()
{
    Desktop desktop;
    QMenu* menu = desktop.main.findChild<QMenu*>(QStringLiteral("choice"));
    QVERIFY(!menu->menuAction()->isEnabled());
    desktop.open();
    QVERIFY(menu->menuAction()->isEnabled());
    // A later search that knows no type leaves nothing to choose from: the open chooser shows
    // that search, with nothing to start or change.
    desktop.platform.type.clear();
    desktop.platform.programs.clear();
    searchFor(desktop.main, QStringLiteral("zzz"));
    QVERIFY(!menu->menuAction()->isEnabled());
    QCOMPARE(list(Global<Form4>::get()).count(), 0);
    QVERIFY(!button(Global<Form4>::get(), "Command2").isEnabled());
}

void Form4Test::everyProgramInTheDesktopsOrderTheDefaultMarked()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    QListWidget& rows = list(chooser);
    QCOMPARE(rows.count(), 3);
    using qimlar::toolkit::leftToRight;
    QCOMPARE(rows.item(0)->text(), QStringLiteral("mpv Media Player (البرنامج الافتراضي)\n") +
                                       leftToRight(QStringLiteral("/usr/bin/mpv")));
    QVERIFY(rows.item(0)->font().bold());
    QCOMPARE(rows.item(1)->text().section('\n', 0, 0), QStringLiteral("مشغّل VLC"));
    QVERIFY(!rows.item(1)->font().bold());
    // An entry without a name of its own goes by its file; one whose program is gone shows the
    // command it would run, and cannot be started.
    QCOMPARE(rows.item(2)->text(), QStringLiteral("ghost\n") + leftToRight("ghost --play"));
    rows.setCurrentRow(2);
    QVERIFY(!button(chooser, "Command1").isEnabled());
    QVERIFY(button(chooser, "Command2").isEnabled());
    QVERIFY(control<QGroupBox>(chooser, "Frame1")->title().contains(leftToRight(".mp3")));
}

void Form4Test::theQuestionNamesTheFileAndTheLineAndCancelWritesNothing()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    list(chooser).setCurrentRow(1);
    const QStringList asked =
        boxesFrom([&] { button(chooser, "Command2").click(); }, QMessageBox::Cancel);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].contains(QStringLiteral("/home/u/.config/mimeapps.list")));
    QVERIFY(asked[0].contains(QStringLiteral("[Default Applications] audio/mpeg=vlc.desktop;")));
    QCOMPARE(desktop.platform.calls.back(), std::string("preview audio/mpeg vlc.desktop"));
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/mpv"));

    // Already the default: nothing to ask, nothing changed.
    desktop.platform.preview.files.clear();
    const QStringList said = boxesFrom([&] { button(chooser, "Command2").click(); });
    QCOMPARE(said, QStringList{QStringLiteral(
                       "هذا البرنامج هو الذي يشغّل هذه الملفات من قبل، فلم يُغيَّر شيء.")});
    QCOMPARE(desktop.platform.calls.back(), std::string("preview audio/mpeg vlc.desktop"));
}

void Form4Test::theNewAnswerShowsInTheMainWindow()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    list(chooser).setCurrentRow(1);
    desktop.platform.executable = "/usr/bin/vlc";
    const QStringList said = boxesFrom([&] { button(chooser, "Command2").click(); });
    QCOMPARE(said.size(), 1); // the question; the change itself says nothing more
    QCOMPARE(desktop.platform.calls.back(), std::string("make default audio/mpeg vlc.desktop"));
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/vlc"));
    QVERIFY(control(desktop.main, "Command2")->isEnabled());
    // The new default first and marked, the old one among the rest; and so when reopened.
    QVERIFY(list(chooser).item(0)->text().startsWith(QStringLiteral("مشغّل VLC (")));
    QCOMPARE(list(chooser).currentRow(), 0); // still the program chosen
    QVERIFY(!list(chooser).item(1)->font().bold());
    Global<Form4>::Unload();
    processDeferredDeletes();
    desktop.menuItem().trigger();
    QVERIFY(list(Global<Form4>::get()).item(0)->font().bold());
    QVERIFY(list(Global<Form4>::get()).item(0)->text().startsWith(QStringLiteral("مشغّل VLC")));

    // Written, but a list that ranks higher still decides: said, with the line that does.
    desktop.platform.change.answer = "/usr/bin/mpv";
    desktop.platform.change.decision = "/etc/xdg/mimeapps.list: this line decides";
    desktop.platform.executable = "/usr/bin/mpv";
    list(Global<Form4>::get()).setCurrentRow(1);
    const QStringList told = boxesFrom([&] { button(Global<Form4>::get(), "Command2").click(); });
    QCOMPARE(told.size(), 2);
    QVERIFY(told[1].endsWith(QStringLiteral("\n/etc/xdg/mimeapps.list: this line decides")));
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/mpv"));
}

void Form4Test::undoShowsWhatWasPutBack()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    desktop.platform.executable = "/usr/bin/vlc";
    desktop.main.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->clear();
    const QStringList said = boxesFrom([&] { button(chooser, "Command3").click(); });
    QCOMPARE(desktop.platform.calls.back(), std::string("undo"));
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].contains(QStringLiteral("/home/u/.config/mimeapps.list")));
    QVERIFY(said[0].contains(QStringLiteral("audio/mpeg=mpv.desktop;")));
    // The answer as a process started now gives it.
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/vlc"));
}

void Form4Test::failuresAreSaidWithTheSystemsReason_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("sentence");
    const QString notChanged = QStringLiteral("لم يُغيَّر البرنامج الذي يشغّل هذا الإمتداد، والسبب:");
    QTest::newRow("dry run refused")
        << "preview" << int(DefaultChangeStatus::Refused) << notChanged;
    QTest::newRow("list locked") << "change" << int(DefaultChangeStatus::Busy) << notChanged;
    QTest::newRow("undo refused") << "undo" << int(DefaultChangeStatus::Refused)
                                  << QStringLiteral("تعذّر التراجع عن آخر تغيير، والسبب:");
}

void Form4Test::failuresAreSaidWithTheSystemsReason()
{
    QFETCH(QString, failing);
    QFETCH(int, status);
    QFETCH(QString, sentence);
    Desktop desktop;
    Form4& chooser = desktop.open();
    qimlar::DefaultChange& answer = failing == "preview"  ? desktop.platform.preview
                                    : failing == "change" ? desktop.platform.change
                                                          : desktop.platform.undone;
    answer.status = DefaultChangeStatus(status);
    answer.text = "cannot write /home/u/.config/mimeapps.list: Permission denied\n";
    list(chooser).setCurrentRow(1);
    const QStringList said =
        boxesFrom([&] { button(chooser, failing == "undo" ? "Command3" : "Command2").click(); });
    QCOMPARE(said.back(),
             sentence + "\ncannot write /home/u/.config/mimeapps.list: Permission denied");
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/mpv"));
    QVERIFY(list(chooser).item(0)->font().bold());
}

void Form4Test::theSettingsPageWhereProgramsMayNotChangeDefaults()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    desktop.platform.preview.status = DefaultChangeStatus::Unsupported;
    list(chooser).setCurrentRow(1);
    QStringList said = boxesFrom([&] { button(chooser, "Command2").click(); });
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].contains(QStringLiteral("«مشغّل VLC»")));
    QCOMPARE(desktop.platform.calls.back(),
             std::string("settings /usr/share/applications/vlc.desktop"));

    // Back in Qimlar before leaving it: nothing asked yet. Back after leaving: asked again.
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/mpv"));
    desktop.platform.executable = "/usr/bin/vlc";
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    said = boxesFrom([] { emit qApp->applicationStateChanged(Qt::ApplicationActive); });
    QCOMPARE(said.size(), 1);
    QVERIFY(said[0].startsWith(QStringLiteral("صار «مشغّل VLC» هو البرنامج الذي يشغّل")));
    QCOMPARE(desktop.pathBox(), QStringLiteral("/usr/bin/vlc"));
    // Once only.
    QVERIFY(boxesFrom([] { emit qApp->applicationStateChanged(Qt::ApplicationActive); }).isEmpty());

    desktop.platform.settingsOpened = qimlar::Failure{"cannot open ms-settings:defaultapps"};
    said = boxesFrom([&] { button(chooser, "Command2").click(); });
    QCOMPARE(said.back(), QStringLiteral("تعذّر فتح صفحة الإعدادات، والسبب:\ncannot open "
                                         "ms-settings:defaultapps"));
}

void Form4Test::theStartButtonFollowsTheRunButtonsRules()
{
    Desktop desktop;
    desktop.platform.programs[1].terminal = true;
    Form4& chooser = desktop.open();
    list(chooser).setCurrentRow(1);
    button(chooser, "Command1").click();
    QCOMPARE(desktop.platform.calls.back(),
             std::string("start x-terminal-emulator -e /usr/bin/vlc"));
    desktop.platform.started = qimlar::Failure{"cannot start /usr/bin/vlc: Permission denied"};
    list(chooser).setCurrentRow(0);
    const QStringList said = boxesFrom([&] { button(chooser, "Command1").click(); });
    QCOMPARE(said, QStringList{QStringLiteral("لم يُشغَّل أي برنامج، والسبب:\ncannot start "
                                              "/usr/bin/vlc: Permission denied")});
}

void Form4Test::theKeyboardAlone()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    QCOMPARE(QApplication::focusWidget(), &list(chooser));
    QTest::keyClick(&list(chooser), Qt::Key_Down);
    QCOMPARE(list(chooser).currentRow(), 1);
    QTest::keyClick(&list(chooser), Qt::Key_Return);
    QCOMPARE(desktop.platform.calls.back(), std::string("start /usr/bin/vlc"));
    for (const char* next : {"Command1", "Command2", "Command3", "Command4"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(chooser, next));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &list(chooser));
    // Enter presses the button that has the focus; Escape closes the window from anywhere.
    QTest::keyClick(&list(chooser), Qt::Key_Tab);
    QTest::keyClick(chooser.focusWidget(), Qt::Key_Tab);
    QCOMPARE(chooser.focusWidget(), control(chooser, "Command2"));
    const QStringList asked = boxesFrom(
        [&] { QTest::keyClick(chooser.focusWidget(), Qt::Key_Return); }, QMessageBox::Cancel);
    QCOMPARE(asked.size(), 1);
    QTest::keyClick(chooser.focusWidget(), Qt::Key_Escape);
    processDeferredDeletes();
    QVERIFY(!Global<Form4>::isLoaded());
}

void Form4Test::screenReadersReadItsControls()
{
    Desktop desktop;
    Form4& chooser = desktop.open();
    const auto read = [&](const char* name) {
        return QAccessible::queryAccessibleInterface(control(chooser, name));
    };
    QCOMPARE(QAccessible::queryAccessibleInterface(&chooser)->text(QAccessible::Name),
             QStringLiteral("اختيار برنامج التشغيل"));
    QAccessibleInterface* rows = read("List1");
    QCOMPARE(rows->role(), QAccessible::List);
    QVERIFY(rows->text(QAccessible::Name)
                .startsWith(QStringLiteral("البرامج التي تستطيع تشغيل الملفات ذات الإمتداد")));
    QVERIFY(rows->childCount() == 3 && rows->child(0)->text(QAccessible::Name).contains("mpv"));
    QCOMPARE(read("Command2")->role(), QAccessible::Button);
    QCOMPARE(read("Command2")->text(QAccessible::Name), QStringLiteral("اجعله البرنامج الافتراضي"));
    QCOMPARE(read("Command1")->text(QAccessible::Name), QStringLiteral("تشغيل البرنامج"));
    // Every caption fits its button, in the face the windows are drawn in (which Wine lacks).
    for (QPushButton* each : chooser.findChildren<QPushButton*>())
        QVERIFY2(underWine() ||
                     each->fontMetrics().horizontalAdvance(each->text()) + 8 <= each->width(),
                 qPrintable(each->objectName()));
}

int main(int argc, char* argv[])
{
    return runQtTests<Form4Test>(argc, argv);
}

#include "Form4Test.moc"
