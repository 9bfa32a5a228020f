// The chooser through the real lookup, in a freedesktop environment of its own: making a program
// the default changes the user's mimeapps.list, a process started now (qimlar-which, through
// GIO) answers the new program, and undo puts the list's bytes back.

#include "Form1Driver.h"
#include "Form4.h"
#include "Freedesktop.h"
#include "TempTree.h"

#include <QAction>
#include <QListWidget>
#include <QPlainTextEdit>

using qimlar::Form4;
using qimlar::toolkit::Global;

namespace {

TempTree* tree = nullptr;

} // namespace

class Form4LinuxTest : public QObject
{
    Q_OBJECT

private slots:
    void makeDefaultWritesTheUsersListAndUndoPutsItBack();
};

void Form4LinuxTest::makeDefaultWritesTheUsersListAndUndoPutsItBack()
{
    const std::filesystem::path list = *tree / "config/mimeapps.list";
    const std::string before = TempTree::read(list);
    qimlar::Form1 main(qimlar::nativePlatform(), qimlar::freshLookupThrough(QIMLAR_WHICH));
    main.show();
    searchFor(main, QStringLiteral("mp3"));
    main.findChild<QAction*>(QStringLiteral("choices"))->trigger();
    Form4& chooser = Global<Form4>::get();
    auto* rows = control<QListWidget>(chooser, "List1");
    QCOMPARE(rows->count(), 3);
    QVERIFY(rows->item(1)->text().startsWith(QStringLiteral("vlc\n")));
    const auto pathBox = [&] {
        return control<QPlainTextEdit>(main, "Text1")->toPlainText();
    };

    rows->setCurrentRow(1);
    const QStringList asked =
        boxesFrom([&] { control<QPushButton>(chooser, "Command2")->click(); });
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked[0].contains(QString::fromStdString(list.string())));
    QVERIFY(asked[0].contains(QStringLiteral("[Default Applications] audio/mpeg=vlc.desktop;")));
    QVERIFY(TempTree::read(list).find("audio/mpeg=vlc.desktop;") != std::string::npos);
    QCOMPARE(pathBox(), QString::fromStdString(*tree / "bin/vlc"));

    boxesFrom([&] { control<QPushButton>(chooser, "Command3")->click(); });
    QCOMPARE(TempTree::read(list), before);
    QCOMPARE(pathBox(), QString::fromStdString(*tree / "bin/player"));
    Global<Form4>::Unload();
    processDeferredDeletes();
}

int main(int argc, char* argv[])
{
    // GIO reads the environment once, at its first use: the tree comes before anything else.
    TempTree made;
    tree = &made;
    const Freedesktop desktop(made);
    setenv("XDG_STATE_HOME", (made / "state").c_str(), 1);
    return runQtTests<Form4LinuxTest>(argc, argv);
}

#include "Form4LinuxTest.moc"
