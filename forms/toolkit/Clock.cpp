#include "Clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace qimlar::toolkit {

namespace {

std::function<double()> testClock;

} // namespace

double Timer()
{
    if (testClock)
        return testClock();
    using Seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void setClock(std::function<double()> clock)
{
    testClock = std::move(clock);
}

void DoEvents(double maxWaitSeconds)
{
    if (!(maxWaitSeconds > 0)) {
        QCoreApplication::processEvents();
        return;
    }
    // A timer for the longest sleep wakes the loop should no other event come first.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(std::ceil(std::min(maxWaitSeconds, 3600.0) * 1000)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace qimlar::toolkit
