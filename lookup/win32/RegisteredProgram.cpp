#include "win32/RegisteredProgram.h"

#include "win32/Files.h"

namespace qimlar::win32 {

std::wstring packagedAppCommand(const std::wstring& appUserModelId)
{
    PathBuffer buffer{};
    const UINT length = ::GetWindowsDirectoryW(buffer.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::wstring explorer = textOf(buffer);
    if (explorer.back() != L'\\')
        explorer += L'\\';
    explorer += L"explorer.exe";
    if (!namesExistingFile(explorer))
        return {};
    return explorer + L" shell:AppsFolder\\" + appUserModelId;
}

std::wstring existingRegisteredProgram(const ClassCommand& registered)
{
    std::wstring program = registered.program;
    if (!program.empty() && !isPath(program))
        program = programOnSearchPath(program);
    return isFullPath(program) && namesExistingFile(program) ? program : std::wstring();
}

std::wstring programOfClass(const ClassCommand& registered)
{
    if (auto program = existingRegisteredProgram(registered); !program.empty())
        return program;
    if (!registered.appUserModelId.empty())
        return packagedAppCommand(registered.appUserModelId);
    return {};
}

} // namespace qimlar::win32
