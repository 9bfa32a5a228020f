#include "win32/DefaultAppsSettings.h"

#include "NativePlatform.h"
#include "win32/Registry.h"
#include "win32/SystemError.h"
#include "win32/WideText.h"

#include <windows.h>

#include <optional>
#include <shellapi.h>

namespace qimlar::win32 {

namespace {

const std::wstring registeredApplications = L"Software\\RegisteredApplications";
const std::wstring classesRoot = L"HKEY_CLASSES_ROOT\\";

// The name under which an application registered with `root` lists `progId` for a file type.
std::optional<std::wstring> registrationOf(HKEY root, const std::wstring& progId)
{
    for (const auto& name : valueNames(root, registeredApplications)) {
        const std::wstring capabilities = readText(root, registeredApplications, name.c_str());
        if (capabilities.empty())
            continue;
        const std::wstring associations = capabilities + L"\\FileAssociations";
        for (const auto& extension : valueNames(root, associations))
            if (equalIgnoringCase(readText(root, associations, extension.c_str()), progId))
                return name;
    }
    return std::nullopt;
}

// A URI's query value: every byte of its UTF-8 but the unreserved ones written as %XX.
std::string percentEncoded(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char byte : text) {
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
            byte == '~')
            encoded += static_cast<char>(byte);
        else
            encoded += {'%', digits[byte >> 4], digits[byte & 0xF]};
    }
    return encoded;
}

} // namespace

std::string defaultAppsAddress(const std::string& classKey)
{
    const std::string page = "ms-settings:defaultapps";
    const auto key = toWide(classKey);
    if (!key || key->size() <= classesRoot.size() ||
        !equalIgnoringCase(key->substr(0, classesRoot.size()), classesRoot))
        return page;
    const std::wstring progId = key->substr(classesRoot.size());
    if (const auto user = registrationOf(HKEY_CURRENT_USER, progId))
        return page + "?registeredAppUser=" + percentEncoded(utf8Of(*user));
    if (const auto machine = registrationOf(HKEY_LOCAL_MACHINE, progId))
        return page + "?registeredAppMachine=" + percentEncoded(utf8Of(*machine));
    return page;
}

} // namespace qimlar::win32

namespace qimlar {

Status NativePlatform::openDefaultAppsSettings(const ProgramChoice& choice)
{
    return openWithShell(win32::defaultAppsAddress(choice.entry));
}

Status NativePlatform::openWithShell(const std::string& address)
{
    const auto wideAddress = win32::toWide(address);
    if (!wideAddress)
        return Failure{"cannot open " + address + ": the address is not valid UTF-8"};
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.lpVerb = L"open";
    open.lpFile = wideAddress->c_str();
    open.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&open))
        return win32::failed("cannot open " + address);
    return Done{};
}

} // namespace qimlar
