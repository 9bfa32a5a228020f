// The About and usefulness windows, opened from the main window's help menu: one of each at
// the most, closed by their button or close box, loaded afresh each time, their texts within
// their boxes, and their keyboard.

#include "Form1.h"
#include "Form2.h"
#include "Form3.h"
#include "QtTestProgram.h"
#include "toolkit/Global.h"

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
    void everyTextFitsItsBox();
    void theAddressCanBeSelectedButNotChanged();
    void theUsefulnessWindowAnswersSpaceAndEnterButNotEscape_data();
    void theUsefulnessWindowAnswersSpaceAndEnterButNotEscape();
    void theAboutWindowStartsOnTheAddress();
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
    // Their sizes are in WindowTextsTest's copies of the definitions.
    for (QWidget* window : {static_cast<QWidget*>(&Global<Form2>::get()),
                            static_cast<QWidget*>(&Global<Form3>::get())}) {
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QCOMPARE(window->layoutDirection(), Qt::RightToLeft);
    }
}

void HelpWindowsTest::everyTextFitsItsBox()
{
    // Nothing is cut off in the face the windows are drawn in: one-line boxes hold their line,
    // and the two-line boxes of the usefulness window hold their wrapped text.
    if (underWine())
        QSKIP("Wine draws Arabic in a face of other widths than the windows' own");
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

int main(int argc, char* argv[])
{
    return runQtTests<HelpWindowsTest>(argc, argv);
}

#include "HelpWindowsTest.moc"
