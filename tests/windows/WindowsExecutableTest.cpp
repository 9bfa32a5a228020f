// An executable with qimlar.exe's resource script linked in, as the shell reads it: its one icon
// and its version record. This test program is such an executable itself.

#include "VersionStrings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <string>
#include <vector>

namespace {

std::wstring self()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::vector<char> versionRecord()
{
    DWORD ignored = 0;
    std::vector<char> record(::GetFileVersionInfoSizeW(self().c_str(), &ignored));
    if (record.empty() ||
        !::GetFileVersionInfoW(self().c_str(), 0, static_cast<DWORD>(record.size()), record.data()))
        record.clear();
    return record;
}

} // namespace

TEST(WindowsExecutable, TheShellFindsExactlyOne32By32Icon)
{
    EXPECT_EQ(::ExtractIconExW(self().c_str(), -1, nullptr, nullptr, 0), 1u);

    HICON icon = nullptr;
    ASSERT_EQ(::ExtractIconExW(self().c_str(), 0, &icon, nullptr, 1), 1u);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP colour{};
    ::GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    ::DestroyIcon(icon);
}

TEST(WindowsExecutable, TheVersionRecordReadsBackThroughTheShell)
{
    auto record = versionRecord();
    ASSERT_FALSE(record.empty());

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, 1u);

    DWORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(*translation, 0x04B00409u);

    for (const auto& [key, value] : version_record::versionStrings) {
        const std::string name(key.begin(), key.end()); // the keys are ASCII
        const std::wstring query =
            L"\\StringFileInfo\\040904B0\\" + std::wstring(key.begin(), key.end());
        wchar_t* text = nullptr;
        ASSERT_TRUE(
            ::VerQueryValueW(record.data(), query.c_str(), reinterpret_cast<void**>(&text), &size))
            << name;
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), value) << name;
    }
}
