// The launcher with real processes. The program it starts is a small recorder
// (RecordingProgram.cpp), copied where each test needs it, that writes down where it was started
// from and what it was given.

#include "WindowsTestSupport.h"
#include "lookup/ExecCmd.h"
#include "lookup/Platform.h"

#include <gtest/gtest.h>

using namespace windows_test;

namespace {

class WindowsLauncher : public ::testing::Test
{
protected:
    PrivateFolder folder{L"Qimlar launcher"};
    std::filesystem::path record = folder / L"record.txt";

    void SetUp() override { ::SetEnvironmentVariableW(L"QIMLAR_TEST_RECORD", record.c_str()); }

    std::wstring recorder(const std::wstring& relative)
    {
        const auto copy = folder / relative;
        std::filesystem::create_directories(copy.parent_path());
        std::filesystem::copy_file(besideThisTest(L"recording_program.exe"), copy);
        return copy.wstring();
    }

    static void run(const std::wstring& commandLine)
    {
        qimlar::ExecCmd(utf8(commandLine), qimlar::nativePlatform());
    }

    // The program that ran, then its arguments; nothing when none ran.
    std::vector<std::string> recorded() const
    {
        std::vector<std::string> lines;
        std::istringstream text(readFile(record));
        for (std::string line; std::getline(text, line);)
            lines.push_back(line);
        return lines;
    }

    void expectRan(const std::wstring& program, const std::vector<std::string>& arguments = {})
    {
        const auto lines = recorded();
        ASSERT_FALSE(lines.empty()) << "nothing ran";
        EXPECT_TRUE(equalIgnoringCase(wide(lines[0]), program)) << lines[0];
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), arguments);
    }
};

} // namespace

TEST_F(WindowsLauncher, ReturnsOnlyOnceTheProgramHasEnded)
{
    // The recorder writes only after waiting: had the launcher not waited, there were no record.
    const auto program = recorder(L"slow.exe");
    run(L"\"" + program + L"\" --slowly");
    expectRan(program, {"--slowly"});
}

TEST_F(WindowsLauncher, TheArgumentsAfterThePathArrive)
{
    const auto program = recorder(L"args.exe");
    run(L"\"" + program + L"\" \"two words\" plain %PATH% \u0642\u03B1");
    expectRan(program, {"two words", "plain", "%PATH%", utf8(L"\u0642\u03B1")});
}

TEST_F(WindowsLauncher, AnUnquotedPathWithSpacesStartsThatProgramNotAShorterOne)
{
    // Read word by word, ...\Program Files\My App\app.exe would start ...\Program.exe first.
    const auto decoy = recorder(L"Program.exe");
    const auto wanted = recorder(L"Program Files\\My App\\app.exe");
    run(wanted);
    expectRan(wanted);
}

TEST_F(WindowsLauncher, APathWithSpacesAndArgumentsStartsTheLongestProgramNeverAShorterOne)
{
    // A decoy at every shorter leading part, the folder's own "...\Qimlar" beside it included.
    const auto besideFolder = folder.path().parent_path() / L"Qimlar.exe";
    std::filesystem::copy_file(besideThisTest(L"recording_program.exe"), besideFolder);
    recorder(L"Program.exe");
    recorder(L"Program Files\\My.exe");
    const auto wanted = recorder(L"Program Files\\My App\\app.exe");

    run(wanted + L" --fullscreen \"two words\"");
    expectRan(wanted, {"--fullscreen", "two words"});
    // Without its ".exe", as Windows would find it.
    run(wanted.substr(0, wanted.size() - 4) + L" -x");
    expectRan(wanted, {"-x"});
    std::filesystem::remove(besideFolder);
}

TEST_F(WindowsLauncher, APathOutsideTheAnsiCodePageStarts)
{
    const auto wanted = recorder(L"\u0642\u03B1 \U0001F3B5\\app.exe");
    run(wanted);
    expectRan(wanted);
}

TEST_F(WindowsLauncher, ReturnsAtOnceWhenNothingCanBeStarted)
{
    writeFile(folder / L"notes.txt", "not a program");
    for (const std::wstring& nothing :
         {std::wstring(), std::wstring(L"   "), (folder / L"missing.exe").wstring(),
          folder.path().wstring(), (folder / L"notes.txt").wstring()}) {
        run(nothing);
        EXPECT_TRUE(recorded().empty()) << utf8(nothing);
    }
}
