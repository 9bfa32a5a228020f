#pragma once

// Which program opens a probe: the shell's own answer, checked against what the class
// registers, and where that answer falls short, the registered program itself.

#include "win32/ShellAssociation.h"

#include <cstdint>
#include <string>

namespace qimlar::win32 {

// What FindExecutableW's answer for the probe turned out to be.
enum class ShellAnswer {
    TheFileItself,      // the probe: such files start themselves
    TheCommandsProgram, // the full path of an existing file that the command starts
    CutAtSpace,         // the command's program cut at its first space
    None,               // it gave no program
    NoFullPath,         // a bare name, or a path Windows would complete
    NoFile,             // a full path where no file exists
    OtherProgram,       // an existing file, but not the one the command starts
};

// Where the answer came from.
enum class ProgramSource {
    Shell,             // FindExecutableW's answer, the file itself included
    RegisteredProgram, // the command's program, read whole
    PackagedApp,       // Explorer, given the class's packaged app
    Nowhere,
};

// The program decided for a probe, and the walk that decided it.
struct ProgramDecision
{
    std::wstring shellAnswer;
    std::intptr_t shellCode = 0; // what FindExecutableW returned
    ShellAnswer judged = ShellAnswer::None;
    ProgramSource source = ProgramSource::Nowhere;
    // The command names its program by a bare name, looked for where Windows starts programs.
    bool searchedForProgram = false;
    // The full path of an existing file, or the command line that starts a packaged app;
    // empty when none.
    std::wstring program;
};

ProgramDecision decideProgram(const std::wstring& probe, const ShellAssociation& association);

} // namespace qimlar::win32
