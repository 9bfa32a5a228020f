// What screen readers (Orca, NVDA) read of the windows: the main window's controls by their
// captions and the path box by the line above it, and the help windows' texts in reading order.

#include "FakePlatform.h"
#include "Form1Driver.h"
#include "Form2.h"
#include "Form3.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

using qimlar::Form2;
using qimlar::Form3;
using qimlar::toolkit::Global;

namespace {

// What a screen reader reads of a window, from the top of its tree down: roles and names.
void readAloud(QAccessibleInterface& item, QList<QPair<int, QString>>& heard)
{
    heard.append({item.role(), item.text(QAccessible::Name)});
    for (int i = 0; i < item.childCount(); ++i)
        readAloud(*item.child(i), heard);
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        Global<Form2>::Unload();
        Global<Form3>::Unload();
        processDeferredDeletes();
    }

    void aScreenReaderReadsTheControlsAndTheResult();
    void aScreenReaderReadsTheTextsInOrder();
};

void AccessibilityTest::aScreenReaderReadsTheControlsAndTheResult()
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

void AccessibilityTest::aScreenReaderReadsTheTextsInOrder()
{
    Global<Form2>::Show();
    Global<Form3>::Show();
    for (QWidget* window : {static_cast<QWidget*>(&Global<Form2>::get()),
                            static_cast<QWidget*>(&Global<Form3>::get())}) {
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
    QCOMPARE(
        Global<Form3>::get().accessibleName(),
        control<QLabel>(Global<Form3>::get(), "Label1")->text().section(QLatin1Char(' '), 0, 1));
}

int main(int argc, char* argv[])
{
    return runQtTests<AccessibilityTest>(argc, argv);
}

#include "AccessibilityTest.moc"
