#include "win32/ProgramDecision.h"

#include "win32/Files.h"
#include "win32/RegisteredProgram.h"
#include "win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace qimlar::win32 {

namespace {

// FindExecutableW stops at the first space of a registered command that holds its program's
// path unquoted ("C:\Program" for C:\Program Files\My App\app.exe %1).
bool isCutAtSpace(std::wstring_view cut, std::wstring_view whole)
{
    return whole.size() > cut.size() && whole[cut.size()] == L' ' &&
           equalIgnoringCase(cut, whole.substr(0, cut.size()));
}

// Whether the registered `command` starts `program`, quoted or not: a shorter existing file
// (C:\Program.exe for C:\Program Files\...) is never taken for the program it registers.
bool commandStarts(std::wstring_view command, std::wstring_view program)
{
    if (!command.empty() && command.front() == L'"')
        command.remove_prefix(1);
    return command.size() >= program.size() &&
           equalIgnoringCase(command.substr(0, program.size()), program) &&
           (command.size() == program.size() || command[program.size()] == L'"' ||
            command[program.size()] == L' ');
}

ShellAnswer judge(const std::wstring& found, const std::wstring& probe,
                  const ShellAssociation& association)
{
    if (equalIgnoringCase(fullPath(found), probe))
        return ShellAnswer::TheFileItself;
    if (isCutAtSpace(found, association.program))
        return ShellAnswer::CutAtSpace;
    if (found.empty())
        return ShellAnswer::None;
    if (!isFullPath(found))
        return ShellAnswer::NoFullPath;
    if (!namesExistingFile(found))
        return ShellAnswer::NoFile;
    if (!association.command.empty() && !commandStarts(association.command, found))
        return ShellAnswer::OtherProgram;
    return ShellAnswer::TheCommandsProgram;
}

} // namespace

ProgramDecision decideProgram(const std::wstring& probe, const ShellAssociation& association)
{
    ProgramDecision decided;
    PathBuffer buffer{};
    decided.shellCode =
        reinterpret_cast<INT_PTR>(::FindExecutableW(probe.c_str(), nullptr, buffer.data()));
    decided.shellAnswer = textOf(buffer);
    decided.judged = judge(decided.shellAnswer, probe, association);
    // Programs and scripts open themselves: the caller says so.
    if (decided.judged == ShellAnswer::TheFileItself) {
        decided.source = ProgramSource::Shell;
        decided.program = probe;
        return decided;
    }
    if (decided.judged == ShellAnswer::TheCommandsProgram) {
        decided.source = ProgramSource::Shell;
        decided.program = decided.shellAnswer;
        return decided;
    }

    // The shell's answer may be cut at a space, or a bare name such as notepad.exe: the
    // registered program, read whole, is the answer where that file exists.
    if (auto registered = existingRegisteredProgram(association); !registered.empty()) {
        decided.source = ProgramSource::RegisteredProgram;
        decided.searchedForProgram = !isPath(association.program);
        decided.program = std::move(registered);
    } else if (decided.shellAnswer.empty() && !association.appUserModelId.empty()) {
        decided.source = ProgramSource::PackagedApp;
        decided.program = packagedAppCommand(association.appUserModelId);
    }
    return decided;
}

} // namespace qimlar::win32
