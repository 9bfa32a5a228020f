#include "lookup/ExecCmd.h"

#include "lookup/Platform.h"

namespace qimlar {

Status ExecCmd(const std::string& cmdline, Platform& platform, const ExitWait& wait)
{
    const auto process = platform.startProcess(cmdline);
    if (!process)
        return Failure{process.reason()};
    if (wait)
        wait(platform, *process);
    else
        platform.waitForExit(*process);
    platform.closeProcess(*process);
    return Done{};
}

} // namespace qimlar
