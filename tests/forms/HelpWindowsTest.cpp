// The About and usefulness windows, opened from the main window's help menu: one of each at
// the most, closed by their button or close box, loaded afresh each time, and their keyboard.

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "QtTestProgram.h"
#include "toolkit/Global.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using qimlar::Form1;
using qimlar::Form2;
using qimlar::Form3;
using qimlar::toolkit::Global;

namespace {

void choose(const char* menuItem)
{
    Global<Form1>::get().findChild<QAction*>(QString::fromLatin1(menuItem))->trigger();
}

template <class F> int openWindows()
{
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        count += qobject_cast<F*>(window) && window->isVisible();
    return count;
}

// Everything the window shows in words, control by control.
QStringList texts(QWidget& window)
{
    QStringList all{window.windowTitle()};
    for (QLabel* label : window.findChildren<QLabel*>())
        all << label->objectName() + '=' + label->text();
    for (QGroupBox* frame : window.findChildren<QGroupBox*>())
        all << frame->objectName() + '=' + frame->title();
    for (QLineEdit* box : window.findChildren<QLineEdit*>())
        all << box->objectName() + '=' + box->text();
    for (QPushButton* button : window.findChildren<QPushButton*>())
        all << button->objectName() + '=' + button->text();
    return all;
}

void closeEverything()
{
    Global<Form2>::Unload();
    Global<Form3>::Unload();
    Global<Form1>::Unload();
    processDeferredDeletes();
}

template <class F> QWidget* control(const char* name)
{
    return Global<F>::get().template findChild<QWidget*>(QString::fromLatin1(name));
}

// Opens the window by its menu item and waits until it has the keyboard.
template <class F> F& openActive(const char* menuItem)
{
    choose(menuItem);
    F& window = Global<F>::get();
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("the window did not become active");
    return window;
}

} // namespace

class HelpWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { Global<Form1>::Show(); }
    void cleanup() { closeEverything(); }

    void eachMenuItemOpensOneWindowHowOftenItIsChosen();
    void theButtonAndTheCloseBoxCloseTheWindow_data();
    void theButtonAndTheCloseBoxCloseTheWindow();
    void bothAreFixedToolWindowsWithoutTaskbarButton();
    void theDefinitionsKeepTheirSpacesAndQuotes();
    void everyTextFitsItsBox();
    void theAddressCanBeSelectedButNotChanged();
    void theUsefulnessWindowAnswersSpaceAndEnterButNotEscape_data();
    void theUsefulnessWindowAnswersSpaceAndEnterButNotEscape();
    void theAboutWindowStartsOnTheAddress();
    void aScreenReaderReadsTheTextsInOrder();
};

void HelpWindowsTest::eachMenuItemOpensOneWindowHowOftenItIsChosen()
{
    choose("about");
    choose("about");
    choose("fad");
    choose("fad");
    QCOMPARE(openWindows<Form2>(), 1);
    QCOMPARE(openWindows<Form3>(), 1);
    // Neither blocks the main window.
    Form1& main = Global<Form1>::get();
    QVERIFY(main.isVisible() && main.isEnabled());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!Global<Form2>::get().isModal() && !Global<Form3>::get().isModal());
}

void HelpWindowsTest::theButtonAndTheCloseBoxCloseTheWindow_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<bool>("byCloseBox");
    QTest::newRow("about, button") << "about" << false;
    QTest::newRow("about, close box") << "about" << true;
    QTest::newRow("fad, button") << "fad" << false;
    QTest::newRow("fad, close box") << "fad" << true;
}

void HelpWindowsTest::theButtonAndTheCloseBoxCloseTheWindow()
{
    QFETCH(QString, menuItem);
    QFETCH(bool, byCloseBox);
    const QByteArray item = menuItem.toLatin1();
    const auto loaded = [&] {
        return item == "about" ? Global<Form2>::isLoaded() : Global<Form3>::isLoaded();
    };
    const auto window = [&]() -> QWidget& {
        return item == "about" ? static_cast<QWidget&>(Global<Form2>::get())
                               : static_cast<QWidget&>(Global<Form3>::get());
    };

    choose(item);
    const QStringList definition = texts(window());
    // What the user did to this window must not survive its closing.
    for (QLabel* label : window().findChildren<QLabel*>())
        label->setText(QStringLiteral("changed"));
    if (byCloseBox)
        QVERIFY(window().close());
    else
        window().findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    processDeferredDeletes();
    QVERIFY(!loaded());
    QCOMPARE(openWindows<Form2>() + openWindows<Form3>(), 0);
    QVERIFY(Global<Form1>::get().isVisible());

    choose(item);
    QVERIFY(window().isVisible());
    QCOMPARE(texts(window()), definition);
}

void HelpWindowsTest::bothAreFixedToolWindowsWithoutTaskbarButton()
{
    choose("about");
    choose("fad");
    const QList<std::pair<QWidget*, QSize>> windows{{&Global<Form2>::get(), {305, 217}},
                                                    {&Global<Form3>::get(), {297, 225}}};
    for (const auto& [window, size] : windows) {
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(window->size(), size);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->layoutDirection(), Qt::RightToLeft);
    }
}

void HelpWindowsTest::theDefinitionsKeepTheirSpacesAndQuotes()
{
    const QChar tatweel(0x0640);
    choose("about");
    choose("fad");
    const QString aboutTitle = Global<Form2>::get().windowTitle();
    QCOMPARE(aboutTitle.size(), 51);
    QCOMPARE(aboutTitle.indexOf(QRegularExpression("[^ ]")), 33);
    QCOMPARE(aboutTitle.count(tatweel), 6);
    const QString usefulnessTitle = Global<Form3>::get().windowTitle();
    QCOMPARE(usefulnessTitle.size(), 52);
    QCOMPARE(usefulnessTitle.indexOf(QRegularExpression("[^ ]")), 32);
    QCOMPARE(usefulnessTitle.count(tatweel), 5);

    for (const char* frame : {"Frame1", "Frame3"}) {
        const QString title = static_cast<QGroupBox*>(control<Form2>(frame))->title();
        QVERIFY2(title.startsWith(' ') && title.endsWith(' ') && !title.startsWith("  "), frame);
    }
    const auto text = [](const char* label) {
        return static_cast<QLabel*>(control<Form3>(label))->text();
    };
    QVERIFY(text("Label3").endsWith(QLatin1String("mp3 ")));
    QCOMPARE(text("Label4").size(), 63);
    QCOMPARE(text("Label4").count('"'), 4);
    QCOMPARE(text("Label6").size(), 32);
    QCOMPARE(text("Label6").count('"'), 2);
    QVERIFY(static_cast<QLabel*>(control<Form2>("Label4"))->text().endsWith(QChar(0x00A9)));
}

void HelpWindowsTest::everyTextFitsItsBox()
{
    // Nothing is cut off in the face the windows are drawn in: one-line boxes hold their line,
    // and the two-line boxes of the usefulness window hold their wrapped text.
    choose("about");
    choose("fad");
    for (QWidget* window : {static_cast<QWidget*>(&Global<Form2>::get()),
                            static_cast<QWidget*>(&Global<Form3>::get())}) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty())
                continue;
            const QString name = window->objectName() + '.' + label->objectName();
            if (label->wordWrap())
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         qPrintable(name));
            else
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(name));
        }
    }
    auto* address = static_cast<QLineEdit*>(control<Form2>("Text2"));
    QVERIFY(address->fontMetrics().horizontalAdvance(address->text()) < address->width());
}

void HelpWindowsTest::theAddressCanBeSelectedButNotChanged()
{
    choose("about");
    auto* address = static_cast<QLineEdit*>(control<Form2>("Text2"));
    const QString before = address->text();
    QVERIFY(!before.isEmpty());
    QVERIFY(address->focusPolicy() & Qt::TabFocus);
    address->setFocus();
    QTest::keyClicks(address, QStringLiteral("xyz"));
    QTest::keyClick(address, Qt::Key_Backspace);
    QTest::keyClick(address, Qt::Key_Delete);
    QCOMPARE(address->text(), before);
    address->selectAll();
    QCOMPARE(address->selectedText(), before);
}

void HelpWindowsTest::theUsefulnessWindowAnswersSpaceAndEnterButNotEscape_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("Enter") << int(Qt::Key_Enter);
}

void HelpWindowsTest::theUsefulnessWindowAnswersSpaceAndEnterButNotEscape()
{
    QFETCH(int, key);
    Form3& window = openActive<Form3>("fad");
    QCOMPARE(QApplication::focusWidget(), control<Form3>("Command1"));

    QTest::keyClick(&window, Qt::Key_Escape);
    processDeferredDeletes();
    QVERIFY(Global<Form3>::isLoaded() && window.isVisible());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    processDeferredDeletes();
    QVERIFY(!Global<Form3>::isLoaded());
}

void HelpWindowsTest::theAboutWindowStartsOnTheAddress()
{
    // The first control in tab order that can take the focus; frames and labels cannot.
    openActive<Form2>("about");
    QCOMPARE(QApplication::focusWidget(), control<Form2>("Text2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<Form2>("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    processDeferredDeletes();
    QVERIFY(!Global<Form2>::isLoaded());
}

// What a screen reader reads of a window, from the top of its tree down: roles and names.
static void readAloud(QAccessibleInterface& item, QList<QPair<int, QString>>& heard)
{
    heard.append({item.role(), item.text(QAccessible::Name)});
    for (int i = 0; i < item.childCount(); ++i)
        readAloud(*item.child(i), heard);
}

void HelpWindowsTest::aScreenReaderReadsTheTextsInOrder()
{
    choose("about");
    choose("fad");
    for (QWidget* window :
         {control<Form2>("Frame1")->window(), control<Form3>("Shape1")->window()}) {
        QList<QPair<int, QString>> heard;
        readAloud(*QAccessible::queryAccessibleInterface(window), heard);
        QStringList read;
        for (const auto& [role, name] : heard) {
            if (role == QAccessible::StaticText)
                read << name;
            // Every other control has a name, with no tatweel that only stretches letters.
            else if (role != QAccessible::Border)
                QVERIFY2(!name.isEmpty() && !name.contains(QChar(0x0640)), qPrintable(name));
        }
        // The labels as the eye reads them: line by line from the top, right to left.
        QList<QLabel*> labels = window->findChildren<QLabel*>();
        labels.removeIf([](QLabel* label) { return label->text().isEmpty(); });
        const auto place = [](QLabel* label) {
            const QPoint at = label->mapToGlobal(label->rect().topRight());
            return std::make_pair(at.y(), -at.x());
        };
        std::sort(labels.begin(), labels.end(),
                  [&](QLabel* a, QLabel* b) { return place(a) < place(b); });
        QStringList seen;
        for (QLabel* label : labels)
            seen << label->text();
        QCOMPARE(read, seen);
        // Each frame by its own title.
        for (QGroupBox* frame : window->findChildren<QGroupBox*>())
            if (!frame->title().isEmpty())
                QCOMPARE(QAccessible::queryAccessibleInterface(frame)->text(QAccessible::Name),
                         frame->title().remove(QChar(0x0640)).simplified());
    }
    // The titles, said whole: the About window's, and the usefulness window's in the words its
    // first line begins with.
    QCOMPARE(Global<Form2>::get().accessibleName(), QStringLiteral("عن البرنامج"));
    QCOMPARE(Global<Form3>::get().accessibleName(),
             control<Form3>("Label1")->property("text").toString().section(QLatin1Char(' '), 0, 1));
}

int main(int argc, char* argv[])
{
    return runQtTests<HelpWindowsTest>(argc, argv);
}

#include "HelpWindowsTest.moc"
