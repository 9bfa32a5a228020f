#include "ProgramWait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>

#include <system_error>
#include <thread>

namespace qimlar::toolkit {

void waitForExitWithEventsRunning(Platform& platform, const ProcessHandle& process)
{
    QEventLoop loop;
    // Set on this thread only, by the call the waiting thread posts here.
    bool ended = false;
    // The platform's wait blocks its thread: it runs on a thread of its own, which posts the
    // end to this one, where the loop then stops.
    std::thread waiter;
    try {
        waiter = std::thread([&platform, process, &loop, &ended] {
            platform.waitForExit(process);
            QMetaObject::invokeMethod(
                &loop,
                [&loop, &ended] {
                    ended = true;
                    loop.quit();
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the wait blocks this one, and the windows answer once it is over.
        platform.waitForExit(process);
        return;
    }
    if (!ended)
        loop.exec();
    // Should the loop have been left early (the whole application quitting), the program is
    // still waited for: the handle is closed only after it has ended. A call still posted to
    // the loop then goes with it.
    waiter.join();
}

bool refuseCloseWhileWaiting(QCloseEvent& event, bool waiting)
{
    if (!waiting)
        return false;
    event.ignore();
    QApplication::beep();
    return true;
}

} // namespace qimlar::toolkit
