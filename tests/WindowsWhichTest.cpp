// qimlar-which.exe as a process: its answers, caught from a pipe, are the library's answers.

#include "WindowsTestSupport.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

#include <gtest/gtest.h>

using namespace windows_test;

namespace {

std::wstring which()
{
    return L"\"" + besideThisTest(L"qimlar-which.exe").wstring() + L"\"";
}

std::string expected(const std::vector<std::wstring>& extensions, const std::string& ending)
{
    std::string answers;
    for (const auto& extension : extensions)
        answers += qimlar::FindExe(utf8(extension), qimlar::nativePlatform()) + ending;
    return answers;
}

std::wstring joined(const std::vector<std::wstring>& extensions)
{
    std::wstring line;
    for (const auto& extension : extensions)
        line += L" \"" + extension + L"\"";
    return line;
}

class WindowsWhich : public ::testing::Test
{
protected:
    PrivateFolder folder{L"Qimlar which"};
    std::wstring program = (folder / L"My App" / L"app.exe").wstring();
    std::wstring music = L"\U0001F3B5\u0642\u03B1";

    void SetUp() override { writeFile(program, ""); }
};

} // namespace

TEST_F(WindowsWhich, PrintsTheLibrarysAnswersOneLineEach)
{
    const Association plain(L"qimlartest", program + L" %1");
    const Association other(music, L"\"" + program + L"\" \"%1\"");
    const std::vector<std::wstring> extensions = {
        L"ini", L"INI", L"qimlartest", music, L"qimlar-unknown", L"exe", L"", L"-"};

    const auto found = runCaught(which() + joined(extensions));
    EXPECT_EQ(found.output, expected(extensions, "\r\n"));
    EXPECT_NE(found.output.find(utf8(program)), std::string::npos);
    EXPECT_EQ(found.exitCode, 1u);

    const std::vector<std::wstring> known = {L"ini", music};
    const auto all = runCaught(which() + L" -z" + joined(known));
    EXPECT_EQ(all.output, expected(known, std::string(1, '\0')));
    EXPECT_EQ(all.exitCode, 0u);
}
