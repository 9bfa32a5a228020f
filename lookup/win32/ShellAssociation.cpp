#include "win32/ShellAssociation.h"

#include "win32/Registry.h"

#include <windows.h>

#include <shlwapi.h>

namespace qimlar::win32 {

namespace {

const std::wstring classesRoot = L"HKEY_CLASSES_ROOT\\";
const std::wstring userChoices =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

// One string the shell's association functions read of a class or an extension.
std::wstring queryShell(ASSOCSTR what, const std::wstring& classOrExtension)
{
    std::wstring text(MAX_PATH, L'\0');
    DWORD length = MAX_PATH;
    HRESULT read = ::AssocQueryStringW(ASSOCF_NOTRUNCATE, what, classOrExtension.c_str(), nullptr,
                                       text.data(), &length);
    if (read == E_POINTER) {
        text.assign(length, L'\0');
        read = ::AssocQueryStringW(ASSOCF_NOTRUNCATE, what, classOrExtension.c_str(), nullptr,
                                   text.data(), &length);
    }
    if (FAILED(read))
        return {};
    text.resize(::wcsnlen(text.data(), text.size()));
    return text;
}

} // namespace

std::wstring extensionOf(const std::wstring& file)
{
    const auto ownName = file.find_last_of(L"\\/:");
    const auto dot = file.rfind(L'.');
    if (dot == std::wstring::npos || (ownName != std::wstring::npos && dot < ownName))
        return {};
    return file.substr(dot);
}

ClassCommand readClass(const std::wstring& key)
{
    ClassCommand found;
    found.entry = classesRoot + key;
    found.command = queryShell(ASSOCSTR_COMMAND, key);
    found.program = queryShell(ASSOCSTR_EXECUTABLE, key);
    found.appUserModelId = readText(HKEY_CLASSES_ROOT, key + L"\\Application", L"AppUserModelID");
    found.friendlyName = readText(HKEY_CLASSES_ROOT, key, L"FriendlyAppName");
    if (found.friendlyName.empty())
        found.friendlyName =
            readText(HKEY_CLASSES_ROOT, key + L"\\shell\\open", L"FriendlyAppName");
    return found;
}

ShellAssociation readAssociation(const std::wstring& extension)
{
    ShellAssociation found;
    if (extension.empty())
        return found;

    found.userChoice = L"HKEY_CURRENT_USER\\" + userChoices + extension + L"\\UserChoice";
    found.progId =
        readText(HKEY_CURRENT_USER, userChoices + extension + L"\\UserChoice", L"ProgId");
    if (!found.progId.empty()) {
        found.decidedBy = found.userChoice;
    } else if (keyExists(HKEY_CLASSES_ROOT, extension)) {
        found.progId = readText(HKEY_CLASSES_ROOT, extension, nullptr);
        found.decidedBy = classesRoot + extension;
    }
    found.registered = !found.decidedBy.empty();
    if (!found.registered)
        return found;
    found.contentType = readText(HKEY_CLASSES_ROOT, extension, L"Content Type");
    found.perceivedType = readText(HKEY_CLASSES_ROOT, extension, L"PerceivedType");

    // The class when one is named, so that the user's choice counts where the shell's own
    // functions would read the extension's key.
    static_cast<ClassCommand&>(found) = readClass(found.progId.empty() ? extension : found.progId);
    if (found.progId.empty()) {
        found.entry.clear();
        found.appUserModelId.clear();
    }
    return found;
}

std::wstring extensionOfContentType(const std::wstring& type)
{
    // A "\\" would reach into another key; no type holds one.
    if (type.empty() || type.find(L'\\') != std::wstring::npos)
        return {};
    return readText(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type\\" + type, L"Extension");
}

} // namespace qimlar::win32
