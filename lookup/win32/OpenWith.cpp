#include "win32/OpenWith.h"

#include "win32/Files.h"
#include "win32/RegisteredProgram.h"
#include "win32/Registry.h"
#include "win32/ShellAssociation.h"
#include "win32/WideText.h"

#include <algorithm>
#include <utility>

namespace qimlar::win32 {

namespace {

const std::wstring fileExts = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

// An application's name ("app.exe") stays one key: a "\\" in it would reach into another.
void addApplication(std::vector<OpenWithClass>& into, const std::wstring& exe,
                    ProgramRelation relation)
{
    if (!exe.empty() && exe.find(L'\\') == std::wstring::npos)
        into.push_back({L"Applications\\" + exe, relation, exe});
}

void addClasses(std::vector<OpenWithClass>& into, const std::vector<std::wstring>& progIds)
{
    for (const auto& progId : progIds)
        into.push_back({progId, ProgramRelation::Registered, {}});
}

// The applications of an Explorer MRU list: its values "a", "b", ... in the order its MRUList
// gives their letters, then any letters MRUList leaves out.
std::vector<std::wstring> mostRecentlyUsed(HKEY root, const std::wstring& key)
{
    std::wstring order = readText(root, key, L"MRUList");
    for (const auto& name : valueNames(root, key))
        if (name.size() == 1 && order.find(name[0]) == std::wstring::npos)
            order += name[0];
    std::vector<std::wstring> applications;
    for (const wchar_t letter : order)
        applications.push_back(readText(root, key, std::wstring(1, letter).c_str()));
    return applications;
}

} // namespace

std::vector<OpenWithClass> openWithClasses(const std::wstring& extension,
                                           const std::wstring& perceivedType)
{
    std::vector<OpenWithClass> found;
    addClasses(found, valueNames(HKEY_CLASSES_ROOT, extension + L"\\OpenWithProgids"));
    const std::wstring usersOwn = fileExts + extension;
    addClasses(found, valueNames(HKEY_CURRENT_USER, usersOwn + L"\\OpenWithProgids"));
    for (const auto& exe : mostRecentlyUsed(HKEY_CURRENT_USER, usersOwn + L"\\OpenWithList"))
        addApplication(found, exe, ProgramRelation::Registered);
    for (const auto& exe : subkeyNames(HKEY_CLASSES_ROOT, extension + L"\\OpenWithList"))
        addApplication(found, exe, ProgramRelation::Registered);
    if (!perceivedType.empty() && perceivedType.find(L'\\') == std::wstring::npos)
        for (const auto& exe :
             subkeyNames(HKEY_CLASSES_ROOT,
                         L"SystemFileAssociations\\" + perceivedType + L"\\OpenWithList"))
            addApplication(found, exe, ProgramRelation::ParentType);
    return found;
}

std::vector<ProgramChoice> openWithPrograms(const std::wstring& extension,
                                            const ShellAssociation& association,
                                            const ProgramChoice& theDefault)
{
    std::vector<ProgramChoice> programs;
    const auto add = [&programs](ProgramChoice choice) {
        // A program is offered once: the same program by the same command is the same choice.
        const bool known =
            std::any_of(programs.begin(), programs.end(), [&choice](const ProgramChoice& other) {
                return other.command == choice.command &&
                       equalIgnoringCase(toWide(other.program).value_or(std::wstring()),
                                         toWide(choice.program).value_or(std::wstring()));
            });
        if (!known && !(choice.program.empty() && choice.command.empty()))
            programs.push_back(std::move(choice));
    };
    add(theDefault);
    for (const auto& [key, relation, application] :
         openWithClasses(extension, association.perceivedType)) {
        const ClassCommand registered = readClass(key);
        std::wstring program = programOfClass(registered);
        // An application with no command of its own starts by its name, where Windows finds it.
        if (program.empty() && registered.command.empty() && !application.empty())
            program = programOnSearchPath(application);
        ProgramChoice choice;
        choice.program = toUtf8(program).value_or(std::string());
        choice.command = toUtf8(registered.command).value_or(std::string());
        choice.entry = toUtf8(registered.entry).value_or(std::string());
        choice.relation = relation;
        choice.name = toUtf8(registered.friendlyName).value_or(std::string());
        choice.icon = choice.program;
        add(std::move(choice));
    }
    return programs;
}

} // namespace qimlar::win32
