#pragma once

// What the tests of the lookup with the real Windows backend share. The temporary folder is one
// of the test's own, with a dot and letters from no ANSI code page in its path; associations come
// from the shell's registry, Wine's own and ones the test registers.

#include "WindowsTestSupport.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace windows_test {

inline PrivateFolder* folder = nullptr;
inline std::filesystem::path tempFolder;

inline void setTemporaryFolder(const std::wstring& path)
{
    ::SetEnvironmentVariableW(L"TMP", path.c_str());
    ::SetEnvironmentVariableW(L"TEMP", path.c_str());
}

class PrivateTemporaryFolder : public ::testing::Environment
{
public:
    void SetUp() override
    {
        folder = new PrivateFolder(L"Qimlar lookup \u0642\u03B1.test");
        tempFolder = *folder / L"Temp";
        std::filesystem::create_directory(tempFolder);
        setTemporaryFolder(tempFolder.wstring() + L"\\");
    }
    void TearDown() override { delete folder; }
};

// Each test program of the lookup runs in it.
inline const auto* const privateTemporaryFolder =
    ::testing::AddGlobalTestEnvironment(new PrivateTemporaryFolder);

inline std::string findExe(const std::string& extension)
{
    return qimlar::FindExe(extension, qimlar::nativePlatform());
}

inline qimlar::LookupResult lookUp(const std::string& extension)
{
    return qimlar::LookUpProgram(extension, qimlar::nativePlatform());
}

inline std::wstring notepad()
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\notepad.exe";
}

inline qimlar::LookupResult lookUpIn(const std::string& extension,
                                     const qimlar::LookupDetail& detail)
{
    return qimlar::LookUpProgram(extension, qimlar::nativePlatform(), detail);
}

// An application the "Open with" lists name (HKEY_CLASSES_ROOT\Applications\NAME), with its
// program made in `folder`.
struct Application
{
    Application(const PrivateFolder& folder, const std::wstring& name)
        : program((folder / L"Apps q" / name).wstring()), key(L"Applications\\" + name)
    {
        writeFile(program, "");
        classes.set(L"shell\\open\\command", nullptr, L"\"" + program + L"\" \"%1\"");
    }
    std::wstring program;
    std::wstring key;
    ClassesKey classes{key};
};

inline std::string joined(const std::vector<std::string>& sentences)
{
    std::string text;
    for (const auto& sentence : sentences)
        text += sentence + "\n";
    return text;
}

// Letters from Arabic, Greek and beyond the 16-bit plane together: no ANSI code page holds them.
inline const std::wstring musicExtension = L"\U0001F3B5\u0642\u03B1";

} // namespace windows_test
