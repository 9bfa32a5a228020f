#pragma once

// What the tests of the Windows backend share: UTF-8 and UTF-16 side by side, a private folder,
// file associations and Explorer choices of their own in the registry, and programs run with
// their output caught.

#include "win32/WideText.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace windows_test {

inline std::wstring wide(const std::string& utf8)
{
    return qimlar::win32::toWide(utf8).value();
}

inline std::string utf8(const std::wstring& utf16)
{
    return qimlar::win32::toUtf8(utf16).value();
}

using qimlar::win32::equalIgnoringCase;

// `name` in the folder of the running test program, where the build puts every program.
inline std::filesystem::path besideThisTest(const std::wstring& name)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / name;
}

inline std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFile(const std::filesystem::path& file, const std::string& text)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// Every name in `folder`, as a sorted list.
inline std::vector<std::wstring> names(const std::filesystem::path& folder)
{
    std::vector<std::wstring> result;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        result.push_back(entry.path().filename().wstring());
    std::sort(result.begin(), result.end());
    return result;
}

// A folder of the test's own under the user's temporary folder, gone with all it holds at the
// end.
class PrivateFolder
{
public:
    explicit PrivateFolder(const std::wstring& name)
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        path_ =
            std::filesystem::path(temp) / (name + L"-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~PrivateFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::wstring& relative) const { return path_ / relative; }

private:
    std::filesystem::path path_;
};

// Files of `extension` open with `command`, for as long as the object lives, through a class of
// their own; without a command the class is a packaged app's when given its app ID. Registered
// for the user, as an installer without administrator rights does; Wine 8 does not show the
// user's classes in HKEY_CLASSES_ROOT, so where they do not appear there the machine's classes
// (the test's private Wine prefix) take them as well.
class Association
{
public:
    Association(const std::wstring& extension, const std::wstring& command,
                const std::wstring& appUserModelId = {})
        : extensionKey_(L"Software\\Classes\\." + extension),
          progId_(L"Qimlar.TestType." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                  std::to_wstring(++made_)),
          typeKey_(L"Software\\Classes\\" + progId_)
    {
        registerIn(HKEY_CURRENT_USER, command, appUserModelId);
        HKEY visible = nullptr;
        if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, (L"." + extension).c_str(), 0, KEY_READ, &visible) ==
            ERROR_SUCCESS) {
            ::RegCloseKey(visible);
        } else {
            registerIn(HKEY_LOCAL_MACHINE, command, appUserModelId);
            machineToo_ = true;
        }
    }
    ~Association()
    {
        unregisterIn(HKEY_CURRENT_USER);
        if (machineToo_)
            unregisterIn(HKEY_LOCAL_MACHINE);
    }
    Association(const Association&) = delete;
    Association& operator=(const Association&) = delete;

    const std::wstring& progId() const { return progId_; }

    // A value of the extension's key (nullptr for `name` names its default value), or of a key
    // under it where `subkey` is not empty, wherever the association is registered.
    void setOnExtension(const std::wstring& subkey, const wchar_t* name,
                        const std::wstring& value) const
    {
        const std::wstring key = subkey.empty() ? extensionKey_ : extensionKey_ + L"\\" + subkey;
        setText(HKEY_CURRENT_USER, key, name, value);
        if (machineToo_)
            setText(HKEY_LOCAL_MACHINE, key, name, value);
    }

    static void setText(HKEY root, const std::wstring& key, const wchar_t* name,
                        const std::wstring& value)
    {
        HKEY handle = nullptr;
        ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
        ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(handle);
    }

private:
    void registerIn(HKEY root, const std::wstring& command, const std::wstring& appUserModelId)
    {
        setText(root, extensionKey_, nullptr, progId_);
        if (!command.empty())
            setText(root, typeKey_ + L"\\shell\\open\\command", nullptr, command);
        if (!appUserModelId.empty())
            setText(root, typeKey_ + L"\\Application", L"AppUserModelID", appUserModelId);
    }
    void unregisterIn(HKEY root)
    {
        ::RegDeleteTreeW(root, extensionKey_.c_str());
        ::RegDeleteTreeW(root, typeKey_.c_str());
    }

    static inline int made_ = 0;
    std::wstring extensionKey_;
    std::wstring progId_;
    std::wstring typeKey_;
    bool machineToo_ = false;
};

// A key among the classes (HKEY_CLASSES_ROOT\\`key`) of the test's own, for as long as the
// object lives: the user's, and the machine's too where the user's do not appear, as for
// Association.
class ClassesKey
{
public:
    explicit ClassesKey(const std::wstring& key) : key_(key) {}
    ~ClassesKey()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + key_).c_str());
        if (machineToo_)
            ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + key_).c_str());
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

    // A value of the key, or of a key under it where `subkey` is not empty.
    void set(const std::wstring& subkey, const wchar_t* name, const std::wstring& value)
    {
        const std::wstring key = subkey.empty() ? key_ : key_ + L"\\" + subkey;
        Association::setText(HKEY_CURRENT_USER, L"Software\\Classes\\" + key, name, value);
        HKEY visible = nullptr;
        if (!machineToo_ &&
            ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &visible) == ERROR_SUCCESS)
            ::RegCloseKey(visible);
        else
            machineToo_ = true;
        if (machineToo_)
            Association::setText(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + key, name, value);
    }

private:
    std::wstring key_;
    bool machineToo_ = false;
};

// The user chose `progId` in Explorer for files of `extension`, for as long as the object lives.
class UserChoice
{
public:
    static constexpr const wchar_t* fileExtensions =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";

    UserChoice(const std::wstring& extension, const std::wstring& progId)
        : key_(fileExtensions + extension)
    {
        Association::setText(HKEY_CURRENT_USER, key_ + L"\\UserChoice", L"ProgId", progId);
    }
    ~UserChoice() { ::RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
    UserChoice(const UserChoice&) = delete;
    UserChoice& operator=(const UserChoice&) = delete;

private:
    std::wstring key_;
};

struct Finished
{
    DWORD exitCode = 0;
    std::string output;
};

// Runs `commandLine` with its standard output (and with `withErrors` its standard error too)
// caught, and waits for it to end.
inline Finished runCaught(const std::wstring& commandLine, bool withErrors = false)
{
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ::CreatePipe(&readEnd, &writeEnd, &inheritable, 0);
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = withErrors ? writeEnd : ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    std::wstring line = commandLine;
    Finished finished{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started)) {
        finished.exitCode = ~DWORD{0};
        ::CloseHandle(writeEnd);
        ::CloseHandle(readEnd);
        return finished;
    }
    ::CloseHandle(writeEnd);
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        finished.output.append(chunk, got);
    ::WaitForSingleObject(started.hProcess, INFINITE);
    ::GetExitCodeProcess(started.hProcess, &finished.exitCode);
    ::CloseHandle(started.hProcess);
    ::CloseHandle(started.hThread);
    ::CloseHandle(readEnd);
    return finished;
}

} // namespace windows_test
