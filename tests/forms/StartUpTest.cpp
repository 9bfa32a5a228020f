// The program's start: the splash shows, waits 1.3 seconds on the clock while events go on
// being dispatched, and gives way to the main window. The clock is the test's own.

#include "Form1.h"
#include "QtTestProgram.h"
#include "frmshow.h"
#include "toolkit/Clock.h"
#include "toolkit/Global.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <chrono>
#include <cmath>
#include <functional>

using qimlar::Form1;
using qimlar::frmshow;
using qimlar::toolkit::Global;

namespace {

// Notes, in order, when the splash or the main window is shown, when the splash is painted or
// hidden, and checks on every show that the other one is not visible.
class WindowLog : public QObject
{
public:
    QStringList entries;
    bool bothVisibleAtOnce = false;

    WindowLog() { qApp->installEventFilter(this); }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        const char* name = qobject_cast<frmshow*>(object) ? "splash"
                           : qobject_cast<Form1*>(object) ? "main"
                                                          : nullptr;
        if (!name)
            return false;
        if (event->type() == QEvent::Show) {
            entries << QStringLiteral("%1 shown").arg(QLatin1String(name));
            bothVisibleAtOnce |= splashVisible() && mainVisible();
        } else if (event->type() == QEvent::Hide && qstrcmp(name, "splash") == 0) {
            entries << QStringLiteral("splash hidden");
        } else if (event->type() == QEvent::Paint && !entries.endsWith(QStringLiteral("painted"))) {
            entries << QStringLiteral("painted");
        }
        return false;
    }

    static bool splashVisible()
    {
        return Global<frmshow>::isLoaded() && Global<frmshow>::get().isVisible();
    }
    static bool mainVisible()
    {
        return Global<Form1>::isLoaded() && Global<Form1>::get().isVisible();
    }
};

// Gives `readings` one per call and logs each with what was on the screen at the time.
struct ScriptedClock
{
    QList<double> readings;
    WindowLog& log;
    int taken = 0;

    double operator()()
    {
        if (taken == readings.size())
            qFatal("the clock was read once too often");
        const double reading = readings.at(taken++);
        // Time jumps from one reading to the next: an event wakes the waiting splash at once.
        QTimer::singleShot(0, [] {});
        log.entries << QStringLiteral("read %1%2")
                           .arg(reading, 0, 'g', 12)
                           .arg(WindowLog::splashVisible() && !WindowLog::mainVisible() ? QString()
                                                                                        : " (!)");
        return reading;
    }
};

// Runs the program's start on `clock`, then closes the main window it opened.
void startOn(std::function<double()> clock)
{
    qimlar::toolkit::setClock(std::move(clock));
    qimlar::toolkit::runStartUpWindow<frmshow>();
    qimlar::toolkit::setClock({});
    Global<Form1>::Unload();
    processDeferredDeletes();
}

// Runs the program's start with `readings` as the clock; returns the log without paints.
QStringList startWithClock(const QList<double>& readings, int* taken = nullptr)
{
    WindowLog log;
    ScriptedClock clock{readings, log};
    startOn(std::ref(clock));
    log.entries.removeAll(QStringLiteral("painted"));
    if (log.bothVisibleAtOnce)
        log.entries << QStringLiteral("both visible at once");
    if (taken)
        *taken = clock.taken;
    return log.entries;
}

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void theSplashShowsThenWaitsThenGivesWayToTheMainWindow();
    void theWaitEndsAtTheFirstReadingAtOrPastTheDeadline_data();
    void theWaitEndsAtTheFirstReadingAtOrPastTheDeadline();
    void eventsAreDispatchedWhileTheSplashWaits();
    void theSplashIsABorderlessCentredWindowWithoutTaskbarButton();
    void theWaitSleepsInsteadOfReadingTheClockWithoutPause();
};

void StartUpTest::theSplashShowsThenWaitsThenGivesWayToTheMainWindow()
{
    const double start = 1000.25;
    QCOMPARE(startWithClock({start, start + 0.5, start + 1.0, start + 1.3}),
             (QStringList{"splash shown", "read 1000.25", "read 1000.75", "read 1001.25",
                          "read 1001.55", "splash hidden", "main shown"}));
    QVERIFY(!Global<frmshow>::isLoaded());
}

void StartUpTest::theWaitEndsAtTheFirstReadingAtOrPastTheDeadline_data()
{
    QTest::addColumn<QList<double>>("readings");
    QTest::addColumn<int>("taken");
    // An equal reading ends the wait; one just below it does not.
    QTest::newRow("equal") << QList<double>{7.0, 7.0 + 1.3} << 2;
    QTest::newRow("below, then equal")
        << QList<double>{7.0, std::nextafter(7.0 + 1.3, 0.0), 7.0 + 1.3} << 3;
    QTest::newRow("past") << QList<double>{7.0, 7.0, 9.5} << 3;
    // The clock never starts again at midnight, so a start late in the day waits as long.
    QTest::newRow("late start") << QList<double>{86399.9, 86400.5, 86401.2} << 3;
    QTest::newRow("the clock standing still") << QList<double>{5.0, 5.0, 5.0, 5.0, 6.3} << 5;
}

void StartUpTest::theWaitEndsAtTheFirstReadingAtOrPastTheDeadline()
{
    QFETCH(QList<double>, readings);
    QFETCH(int, taken);
    int actuallyTaken = 0;
    const QStringList log = startWithClock(readings, &actuallyTaken);
    QCOMPARE(actuallyTaken, taken);
    QVERIFY2(log.join(", ").endsWith("splash hidden, main shown"), qPrintable(log.join(", ")));
    QVERIFY2(!log.join(' ').contains("(!)"), qPrintable(log.join(", ")));
}

void StartUpTest::eventsAreDispatchedWhileTheSplashWaits()
{
    WindowLog log;
    bool dispatched = false;
    int reading = 0;
    startOn([&] {
        ++reading;
        if (reading == 2)
            QTimer::singleShot(0, [&] { dispatched = true; });
        if (reading == 3)
            log.entries << (dispatched ? QStringLiteral("dispatched") : QStringLiteral("not"));
        return reading < 3 ? 50.0 : 52.0;
    });

    // The splash was painted, and the event posted during the wait ran before the next reading.
    QCOMPARE(log.entries,
             (QStringList{"splash shown", "painted", "dispatched", "splash hidden", "main shown"}));
}

void StartUpTest::theSplashIsABorderlessCentredWindowWithoutTaskbarButton()
{
    QRect geometry, frame, screen;
    Qt::WindowFlags flags;
    QString title;
    QSize picture;
    double reading = 0;
    startOn([&] {
        frmshow& splash = Global<frmshow>::get();
        geometry = splash.geometry();
        frame = splash.frameGeometry();
        flags = splash.windowFlags();
        title = splash.windowTitle();
        screen = splash.screen()->availableGeometry();
        picture = splash.palette().brush(QPalette::Window).texture().size();
        return reading += 2;
    });

    QCOMPARE(geometry.size(), QSize(361, 181));
    QCOMPARE(frame, geometry);
    // A splash screen to the window manager: no title bar, no border, no taskbar button.
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::SplashScreen);
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(title.isEmpty());
    QVERIFY(qAbs(geometry.center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(geometry.center().y() - screen.center().y()) <= 1);
    // The picture fills the window from its top-left corner.
    QCOMPARE(picture, QSize(361, 181));
}

void StartUpTest::theWaitSleepsInsteadOfReadingTheClockWithoutPause()
{
    // On the real clock: a wait that polled would read it many thousand times in 1.3 s.
    int readings = 0;
    const auto began = std::chrono::steady_clock::now();
    startOn([&] {
        ++readings;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    });
    QVERIFY2(readings < 100, qPrintable(QString::number(readings)));
}

int main(int argc, char* argv[])
{
    return runQtTests<StartUpTest>(argc, argv);
}

#include "StartUpTest.moc"
