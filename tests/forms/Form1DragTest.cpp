// The main window dragged by its picture with any mouse button, through the window system's own
// pointer events, and its minimize box on a window that keeps its size.

#include "FakePlatform.h"
#include "Form1Driver.h"

#include <QMenuBar>
#include <QScreen>

class Form1DragTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qimlar::toolkit::Global<qimlar::Form1>::Unload();
        processDeferredDeletes();
    }

    void aPressOnALabelReachesThePicture();
    void dragsMoveTheWindowByThePointersTravel_data();
    void dragsMoveTheWindowByThePointersTravel();
    void aDragMayTakeTheWindowOffTheScreen();
    void aDragFollowsOnlyItsOwnPressAndRelease();
    void aMainWindowOfItsOwnDragsItself();
    void pressesOnTheButtonsAndThePathBoxNeverDrag_data();
    void pressesOnTheButtonsAndThePathBoxNeverDrag();
    void theWindowOpensWithAMinimizeBoxAndStaysFixed();
};

void Form1DragTest::aPressOnALabelReachesThePicture()
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

void Form1DragTest::dragsMoveTheWindowByThePointersTravel_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QString>("grab");
    QTest::newRow("left") << Qt::LeftButton << "Image1";
    QTest::newRow("right") << Qt::RightButton << "Image1";
    QTest::newRow("middle") << Qt::MiddleButton << "Image1";
    QTest::newRow("back") << Qt::BackButton << "Image1";
    QTest::newRow("on a label over the picture") << Qt::LeftButton << "Label1";
}

void Form1DragTest::dragsMoveTheWindowByThePointersTravel()
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

void Form1DragTest::aDragMayTakeTheWindowOffTheScreen()
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

void Form1DragTest::aDragFollowsOnlyItsOwnPressAndRelease()
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

void Form1DragTest::aMainWindowOfItsOwnDragsItself()
{
    // Not the global instance: the window the picture belongs to moves, and no other is loaded.
    FakePlatform platform;
    qimlar::Form1 own(platform);
    own.show();
    QVERIFY(QTest::qWaitForWindowExposed(&own));
    Mouse mouse(own);
    const QPoint start = own.pos();
    mouse.moveTo(mouse.over("Image1"));
    mouse.press(Qt::LeftButton);
    mouse.moveBy(12, 7);
    mouse.release(Qt::LeftButton);
    QCOMPARE(own.pos(), start + QPoint(12, 7));
    QVERIFY(!qimlar::toolkit::Global<qimlar::Form1>::isLoaded());
}

void Form1DragTest::pressesOnTheButtonsAndThePathBoxNeverDrag_data()
{
    QTest::addColumn<QString>("target");
    for (const char* target : {"Command1", "Command2", "Command3", "Text1"})
        QTest::newRow(target) << target;
}

void Form1DragTest::pressesOnTheButtonsAndThePathBoxNeverDrag()
{
    QFETCH(QString, target);
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    Mouse mouse;
    // The result area, as a search uncovers it, without asking.
    for (const char* name : {"Command2", "Text1"})
        control(mouse.form, name)->setVisible(true);
    qimlar::toolkit::setTop(*control(mouse.form, "Command1"), qimlar::Form1::searchedCommand1Top);
    qimlar::toolkit::setTop(*control(mouse.form, "Command3"), qimlar::Form1::searchedCommand3Top);
    control(mouse.form, "Command2")->setEnabled(false);
    const QPoint start = mouse.form.pos();

    mouse.moveTo(mouse.over(target.toLatin1()));
    // A button that is pressed would start its work: the press is held, never released.
    mouse.press(Qt::RightButton);
    mouse.moveBy(30, 20);
    QCOMPARE(mouse.form.pos(), start);
    mouse.release(Qt::RightButton);
}

void Form1DragTest::theWindowOpensWithAMinimizeBoxAndStaysFixed()
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
    // The definition leaves both boxes out; loading adds the minimize box.
    {
        FakePlatform platform;
        const qimlar::Form1 unloaded(platform);
        QVERIFY(!(unloaded.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
    qApp->installEventFilter(&firstShow);
    qimlar::toolkit::Global<qimlar::Form1>::Show();
    qApp->removeEventFilter(&firstShow);
    qimlar::Form1& form = qimlar::toolkit::Global<qimlar::Form1>::get();

    QCOMPARE(firstShow.flags, form.windowFlags());
    QCOMPARE(form.windowFlags(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                     Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                     Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    form.showMinimized();
    QVERIFY(form.isMinimized());
}

int main(int argc, char* argv[])
{
    return runQtTests<Form1DragTest>(argc, argv);
}

#include "Form1DragTest.moc"
