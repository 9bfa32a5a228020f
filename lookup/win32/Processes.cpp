#include "win32/Processes.h"

#include "win32/CommandLine.h"
#include "win32/SystemError.h"
#include "win32/WideText.h"

#include <windows.h>

namespace qimlar::win32 {

Outcome<std::string> terminalCommandLine(const std::string&)
{
    return Failure{"no program asks for a terminal on Windows"};
}

Outcome<ProcessHandle> startProcess(const std::string& commandLine)
{
    const auto wide = toWide(commandLine);
    // No C string can carry a NUL: cut there, the text would name another program.
    if (!wide || wide->find(L'\0') != std::wstring::npos)
        return Failure{"cannot start \"" + commandLine + "\": it names no program"};

    ProcessCommand command = processCommand(*wide);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(command.program.empty() ? nullptr : command.program.c_str(),
                          command.line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &started))
        return failed("cannot start " + commandLine);
    return ProcessHandle{reinterpret_cast<std::intptr_t>(started.hProcess),
                         reinterpret_cast<std::intptr_t>(started.hThread)};
}

void waitForExit(const ProcessHandle& process)
{
    ::WaitForSingleObject(reinterpret_cast<HANDLE>(process.process), INFINITE);
}

void closeProcess(const ProcessHandle& process)
{
    ::CloseHandle(reinterpret_cast<HANDLE>(process.process));
    ::CloseHandle(reinterpret_cast<HANDLE>(process.thread));
}

} // namespace qimlar::win32
