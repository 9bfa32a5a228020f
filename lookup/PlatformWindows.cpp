#include "Explanation.h"
#include "NativePlatform.h"
#include "WideText.h"
#include "WindowsAssociation.h"
#include "WindowsCommandLine.h"
#include "WindowsFiles.h"
#include "WindowsOpenWith.h"
#include "WindowsProgram.h"
#include "lookup/FindExe.h"

#include <windows.h>

#include <shellapi.h>
#include <string>
#include <vector>

namespace qimlar {

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

// Whether the shell's answer is the registered program's full path, of a file that exists.
bool isWholeRegisteredProgram(const std::wstring& found, const ShellAssociation& association)
{
    return isFullPath(found) && namesExistingFile(found) &&
           (association.command.empty() || commandStarts(association.command, found)) &&
           !isCutAtSpace(found, association.program);
}

std::string utf8Of(const std::wstring& text)
{
    return toUtf8(text).value_or(std::string());
}

// Why FindExecutableW found nothing, from the code it returns.
std::string whyNotFound(INT_PTR code)
{
    switch (code) {
    case SE_ERR_NOASSOC:
        return "no association";
    case SE_ERR_FNF:
        return "the file is missing";
    case SE_ERR_PNF:
        return "the folder is missing";
    case SE_ERR_ACCESSDENIED:
        return "access denied";
    default:
        return "code " + std::to_string(code);
    }
}

// The program that opens `probe`, by what the shell and the registry say of it: the full path
// of an existing file, or the command line that starts a packaged app; empty when none.
std::wstring programFor(const std::wstring& probe, const ShellAssociation& association,
                        Steps& steps)
{
    PathBuffer buffer{};
    const auto code =
        reinterpret_cast<INT_PTR>(::FindExecutableW(probe.c_str(), nullptr, buffer.data()));
    const std::wstring found = textOf(buffer);
    if (found.empty())
        steps.say("FindExecutableW gives no program (" + whyNotFound(code) + ").");
    else
        steps.say("FindExecutableW answers " + utf8Of(found) + ".");
    // Programs and scripts open themselves: the caller says so.
    if (equalIgnoringCase(fullPath(found), probe)) {
        steps.say("That is the file itself: such files start themselves.");
        return probe;
    }
    if (isWholeRegisteredProgram(found, association)) {
        steps.say("That is the full path of an existing file that the command starts.");
        return found;
    }

    // The shell's answer may be cut at a space, or a bare name such as notepad.exe: the
    // registered program, read whole, is the answer where that file exists.
    if (isCutAtSpace(found, association.program))
        steps.say("That is the command's program cut at its first space.");
    else if (!found.empty())
        steps.say(!isFullPath(found)          ? "That is no full path."
                  : !namesExistingFile(found) ? "No file exists there."
                                              : "That is not the program the command starts.");
    if (const auto registered = existingRegisteredProgram(association); !registered.empty()) {
        steps.say("The command's program, read whole" +
                  std::string(isPath(association.program) ? "" : " and found on the search path") +
                  ", is the existing file " + utf8Of(registered) + ".");
        return registered;
    }
    if (found.empty() && !association.appUserModelId.empty()) {
        steps.say("The class belongs to the packaged app whose AppUserModelID is " +
                  utf8Of(association.appUserModelId) + ": Explorer starts it by that ID.");
        return packagedAppCommand(association.appUserModelId);
    }
    if (!association.program.empty())
        steps.say("No file exists for the command's program " + utf8Of(association.program) + ".");
    return {};
}

// How the extension's association was decided: the user's choice or the class registration,
// the class, its type and its command.
void explainAssociation(const std::wstring& extension, const ShellAssociation& association,
                        Steps& steps)
{
    const std::string classesKey = "HKEY_CLASSES_ROOT\\" + utf8Of(extension);
    if (association.decidedBy == association.userChoice) {
        steps.say("The user's choice " + utf8Of(association.userChoice) +
                  " decides: it names the class (ProgID) " + utf8Of(association.progId) + ".");
    } else {
        steps.say("There is no user's choice " + utf8Of(association.userChoice) + ".");
        if (!association.registered) {
            steps.say("There is no class registration " + classesKey +
                      " either: no file type is registered for " + utf8Of(extension) + ".");
            return;
        }
        steps.say("The class registration " + classesKey + " decides: " +
                  (association.progId.empty()
                       ? "it names no class (ProgID)."
                       : "it names the class (ProgID) " + utf8Of(association.progId) + "."));
    }
    if (!association.contentType.empty())
        steps.say(classesKey + " gives the type " + utf8Of(association.contentType) + ".");
    const std::string holder = association.progId.empty() ? classesKey : utf8Of(association.entry);
    steps.say(association.command.empty()
                  ? holder + " has no command that opens files."
                  : "The open command of " + holder + " is " + utf8Of(association.command) + ".");
}

// "what failed: the system's reason", with Windows' own words for the last error.
Failure failed(const std::string& what, DWORD error = ::GetLastError())
{
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text(message ? message : L"", length);
    ::LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    const std::string reason = toUtf8(text).value_or(std::string());
    return Failure{what + ": " + (reason.empty() ? "error " + std::to_string(error) : reason)};
}

// Why a registered type has no program: what the registry holds instead.
std::string whyNoProgram(const LookupResult& found)
{
    if (found.progId.empty())
        return found.decidedBy + " names no class";
    if (found.command.empty())
        return found.entry + " has no command that opens files";
    return "no program exists for the registered command " + found.command;
}

} // namespace

Outcome<std::string> NativePlatform::tempFolder()
{
    PathBuffer buffer{};
    const DWORD length = ::GetTempPathW(MAX_PATH, buffer.data());
    if (length == 0)
        return failed("cannot find the temporary folder");
    // A length past the buffer is the size the folder would need: it did not fit.
    if (length >= MAX_PATH)
        return Failure{"cannot use the temporary folder: its path is longer than " +
                       std::to_string(MAX_PATH - 1) + " characters"};
    if (auto folder = toUtf8(textOf(buffer)))
        return *folder;
    return Failure{"cannot use the temporary folder: its path is not valid UTF-16"};
}

Outcome<std::string> NativePlatform::createUniqueFile(const std::string& folder,
                                                      const std::string& prefix)
{
    const auto wideFolder = toWide(folder);
    const auto widePrefix = toWide(prefix);
    if (!wideFolder || !widePrefix)
        return Failure{"cannot make a file in " + folder + ": the name is not valid UTF-8"};
    // With unique number 0 the name is chosen, and the file made, in one step: nobody else's
    // file can be taken over.
    PathBuffer buffer{};
    if (::GetTempFileNameW(wideFolder->c_str(), widePrefix->c_str(), 0, buffer.data()) == 0)
        return failed("cannot make a file in " + folder);
    const std::wstring created = textOf(buffer);
    if (auto name = toUtf8(created))
        return *name;
    ::DeleteFileW(created.c_str());
    return Failure{"cannot make a file in " + folder + ": its name is not valid UTF-16"};
}

Status NativePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    const auto wideFrom = toWide(from);
    const auto wideTo = toWide(to);
    const std::string what = "cannot rename " + from + " to " + to;
    if (!wideFrom || !wideTo)
        return Failure{what + ": the name is not valid UTF-8"};
    // Without MOVEFILE_REPLACE_EXISTING the move fails where the new name is taken.
    if (!::MoveFileExW(wideFrom->c_str(), wideTo->c_str(), 0))
        return failed(what);
    return Done{};
}

LookupResult NativePlatform::findAssociation(const std::string& file, const LookupDetail& detail)
{
    LookupResult result;
    Steps steps(detail.explanation ? &result.explanation : nullptr);
    result.status = LookupStatus::UnknownType;
    const auto wideFile = toWide(file);
    if (!wideFile) {
        result.reason = "the name is not valid UTF-8";
        steps.say("The file's name is not valid UTF-8.");
        return result;
    }
    // Windows drops the trailing dots and spaces of the name it gives a file: "x.mp3. " is
    // x.mp3 on disk, and x.mp3 is what the shell is asked about.
    const std::wstring probe = fullPath(*wideFile);
    const std::wstring extension = extensionOf(probe);
    if (extension.empty()) {
        result.reason = "a name without an extension has no type";
        steps.say("The file's name has no extension, and so no type.");
        return result;
    }
    steps.say("The shell reads the extension " + utf8Of(extension) + ".");
    const ShellAssociation association = readAssociation(extension);
    explainAssociation(extension, association, steps);
    if (!association.registered) {
        result.reason = "no file type is registered for " + utf8Of(extension);
        return result;
    }
    result.type = utf8Of(association.contentType);
    result.progId = utf8Of(association.progId);
    result.entry = utf8Of(association.entry);
    result.decidedBy = utf8Of(association.decidedBy);
    result.command = utf8Of(association.command);

    const std::wstring program = programFor(probe, association, steps);
    result.status = LookupStatus::NoProgram;
    if (program.empty()) {
        result.reason = whyNoProgram(result);
    } else if (program == probe) {
        // The answer would be the probe, gone a moment later.
        result.reason = "such files start themselves";
    } else {
        result.program = utf8Of(program);
        if (!result.program.empty())
            result.status = LookupStatus::Found;
    }
    steps.say(result.status == LookupStatus::Found
                  ? "The answer is " + result.program + "."
                  : "Nothing opens such files: " + result.reason + ".");

    if (detail.everyProgram) {
        const std::wstring classesKey = L"HKEY_CLASSES_ROOT\\" + extension;
        const ProgramChoice theDefault{result.program, result.command,
                                       result.entry.empty() ? utf8Of(classesKey) : result.entry,
                                       ProgramRelation::Default};
        result.programs = openWithPrograms(extension, association, theDefault);
    }
    return result;
}

LookupResult NativePlatform::findTypeAssociation(const std::string& type,
                                                 const LookupDetail& detail)
{
    // The shell associates extensions, not types: the type's registered extension is asked
    // about in its place.
    const auto wideType = toWide(type);
    const std::wstring extension = wideType ? extensionOfContentType(*wideType) : std::wstring();
    const std::string typeKey = "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\" + type;
    if (extension.empty()) {
        LookupResult result;
        result.status = LookupStatus::UnknownType;
        result.type = type;
        result.reason = wideType ? "no extension is registered for the type " + type
                                 : "the type is not valid UTF-8";
        if (detail.explanation)
            result.explanation.push_back(typeKey + " names no extension: " + result.reason + ".");
        return result;
    }
    // The registered extension starts with its "."; the lookup adds its own.
    const std::wstring typed = extension.front() == L'.' ? extension.substr(1) : extension;
    LookupResult result = LookUpProgram(utf8Of(typed), *this, detail);
    result.type = type;
    if (detail.explanation)
        result.explanation.insert(result.explanation.begin(), typeKey + " names the extension " +
                                                                  utf8Of(extension) +
                                                                  ": the lookup asks about that.");
    return result;
}

Status NativePlatform::deleteFile(const std::string& file)
{
    // DeleteFileW takes its name literally: "*" and "?" are no patterns to it.
    const auto wideFile = toWide(file);
    if (!wideFile)
        return Failure{"cannot delete " + file + ": the name is not valid UTF-8"};
    if (!::DeleteFileW(wideFile->c_str()))
        return failed("cannot delete " + file);
    return Done{};
}

Outcome<std::string> NativePlatform::terminalCommandLine(const std::string&)
{
    // A program here opens its own console when it needs one.
    return Failure{"no program asks for a terminal on Windows"};
}

Outcome<ProcessHandle> NativePlatform::startProcess(const std::string& commandLine)
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

void NativePlatform::waitForExit(const ProcessHandle& process)
{
    ::WaitForSingleObject(reinterpret_cast<HANDLE>(process.process), INFINITE);
}

void NativePlatform::closeProcess(const ProcessHandle& process)
{
    ::CloseHandle(reinterpret_cast<HANDLE>(process.process));
    ::CloseHandle(reinterpret_cast<HANDLE>(process.thread));
}

} // namespace qimlar
