#include "win32/Explanation.h"

#include "TypeRegistration.h"
#include "win32/Files.h"
#include "win32/WideText.h"

#include <windows.h>

#include <shellapi.h>

namespace qimlar::win32 {

namespace {

using Sentences = std::vector<std::string>;

// Why FindExecutableW found nothing, from the code it returns.
std::string whyNotFound(std::intptr_t code)
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

// How the extension's association was decided: the user's choice or the class registration,
// the class, its type and its command.
void explainAssociation(const std::wstring& extension, const ShellAssociation& association,
                        Sentences& said)
{
    const std::string classesKey = "HKEY_CLASSES_ROOT\\" + utf8Of(extension);
    if (association.decidedBy == association.userChoice) {
        said.push_back("The user's choice " + utf8Of(association.userChoice) +
                       " decides: it names the class (ProgID) " + utf8Of(association.progId) + ".");
    } else {
        said.push_back("There is no user's choice " + utf8Of(association.userChoice) + ".");
        if (!association.registered) {
            said.push_back("There is no class registration " + classesKey +
                           " either: no file type is registered for " + utf8Of(extension) + ".");
            return;
        }
        said.push_back("The class registration " + classesKey + " decides: " +
                       (association.progId.empty()
                            ? "it names no class (ProgID)."
                            : "it names the class (ProgID) " + utf8Of(association.progId) + "."));
    }
    if (!association.contentType.empty())
        said.push_back(classesKey + " gives the type " + utf8Of(association.contentType) + ".");
    const std::string holder = association.progId.empty() ? classesKey : utf8Of(association.entry);
    said.push_back(association.command.empty() ? holder + " has no command that opens files."
                                               : "The open command of " + holder + " is " +
                                                     utf8Of(association.command) + ".");
}

// What the shell answered, and why that answer was taken or not.
void explainShellAnswer(const ProgramDecision& decided, Sentences& said)
{
    if (decided.shellAnswer.empty())
        said.push_back("FindExecutableW gives no program (" + whyNotFound(decided.shellCode) +
                       ").");
    else
        said.push_back("FindExecutableW answers " + utf8Of(decided.shellAnswer) + ".");
    switch (decided.judged) {
    case ShellAnswer::TheFileItself:
        return said.push_back("That is the file itself: such files start themselves.");
    case ShellAnswer::TheCommandsProgram:
        return said.push_back("That is the full path of an existing file that the command starts.");
    case ShellAnswer::CutAtSpace:
        return said.push_back("That is the command's program cut at its first space.");
    case ShellAnswer::NoFullPath:
        return said.push_back("That is no full path.");
    case ShellAnswer::NoFile:
        return said.push_back("No file exists there.");
    case ShellAnswer::OtherProgram:
        return said.push_back("That is not the program the command starts.");
    case ShellAnswer::None:
        return;
    }
}

// Where the program came from, where the shell's answer was not taken.
void explainProgram(const ProgramDecision& decided, const ShellAssociation& association,
                    Sentences& said)
{
    switch (decided.source) {
    case ProgramSource::Shell:
        return;
    case ProgramSource::RegisteredProgram:
        return said.push_back(
            "The command's program, read whole" +
            std::string(decided.searchedForProgram ? " and found on the search path" : "") +
            ", is the existing file " + utf8Of(decided.program) + ".");
    case ProgramSource::PackagedApp:
        return said.push_back("The class belongs to the packaged app whose AppUserModelID is " +
                              utf8Of(association.appUserModelId) +
                              ": Explorer starts it by that ID.");
    case ProgramSource::Nowhere:
        if (!association.program.empty())
            said.push_back("No file exists for the command's program " +
                           utf8Of(association.program) + ".");
        return;
    }
}

} // namespace

Sentences explanationOf(const ProbeDecision& decided, const LookupResult& result)
{
    if (decided.name == ProbeDecision::Name::NotUtf8)
        return {"The file's name is not valid UTF-8."};
    if (decided.name == ProbeDecision::Name::NoExtension)
        return {"The file's name has no extension, and so no type."};
    Sentences said{"The shell reads the extension " + utf8Of(decided.extension) + "."};
    explainAssociation(decided.extension, decided.association, said);
    if (!decided.association.registered)
        return said;
    explainShellAnswer(decided.program, said);
    explainProgram(decided.program, decided.association, said);
    said.push_back(result.status == LookupStatus::Found
                       ? "The answer is " + result.program + "."
                       : "Nothing opens such files: " + result.reason + ".");
    return said;
}

Sentences noExtensionExplanation(const std::string& type, const std::string& reason)
{
    return {typeRegistration(type) + " names no extension: " + reason + "."};
}

} // namespace qimlar::win32

namespace qimlar {

std::string typeRegistration(const std::string& type)
{
    return "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\" + type;
}

} // namespace qimlar
