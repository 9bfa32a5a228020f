#include "ExecCmd.h"

#include "Platform.h"

namespace qimlar {

void ExecCmd(const std::string& cmdline, Platform& platform)
{
    const auto process = platform.startProcess(cmdline);
    if (!process)
        return;
    platform.waitForExit(*process);
    platform.closeProcess(*process);
}

} // namespace qimlar
