#include "WindowsAssociation.h"

#include <windows.h>

#include <shlwapi.h>

namespace qimlar {

namespace {

const std::wstring classesRoot = L"HKEY_CLASSES_ROOT\\";
const std::wstring userChoices =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

// A text value of the registry (nullptr names the key's default value); empty when there is
// none.
std::wstring readText(HKEY root, const std::wstring& key, const wchar_t* name)
{
    DWORD size = 0;
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
            ERROR_SUCCESS ||
        size < sizeof(wchar_t))
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    if (::RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &size) !=
        ERROR_SUCCESS)
        return {};
    text.resize(::wcsnlen(text.data(), text.size()));
    return text;
}

bool keyExists(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(handle);
    return true;
}

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

ShellAssociation readAssociation(const std::wstring& extension)
{
    ShellAssociation found;
    if (extension.empty())
        return found;

    const std::wstring userChoice = userChoices + extension + L"\\UserChoice";
    found.progId = readText(HKEY_CURRENT_USER, userChoice, L"ProgId");
    if (!found.progId.empty()) {
        found.decidedBy = L"HKEY_CURRENT_USER\\" + userChoice;
    } else if (keyExists(HKEY_CLASSES_ROOT, extension)) {
        found.progId = readText(HKEY_CLASSES_ROOT, extension, nullptr);
        found.decidedBy = classesRoot + extension;
    }
    found.registered = !found.decidedBy.empty();
    if (!found.registered)
        return found;

    // The class when one is named, so that the user's choice counts where the shell's own
    // functions would read the extension's key.
    const std::wstring asked = found.progId.empty() ? extension : found.progId;
    found.command = queryShell(ASSOCSTR_COMMAND, asked);
    found.program = queryShell(ASSOCSTR_EXECUTABLE, asked);
    if (found.progId.empty())
        return found;
    found.entry = classesRoot + found.progId;
    found.appUserModelId =
        readText(HKEY_CLASSES_ROOT, found.progId + L"\\Application", L"AppUserModelID");
    return found;
}

std::wstring extensionOfContentType(const std::wstring& type)
{
    // A "\\" would reach into another key; no type holds one.
    if (type.empty() || type.find(L'\\') != std::wstring::npos)
        return {};
    return readText(HKEY_CLASSES_ROOT, L"MIME\\Database\\Content Type\\" + type, L"Extension");
}

} // namespace qimlar
