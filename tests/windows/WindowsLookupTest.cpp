// The lookup with the real Windows backend: which program the shell's associations name.

#include "WindowsLookupSupport.h"
#include "win32/CommandLine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

using namespace windows_test;

TEST(WindowsLookup, FindsTheProgramOfAnAssociationTheShellHasInAnyCase)
{
    for (const char* extension : {"ini", "INI", "Ini"}) {
        const std::string found = findExe(extension);
        EXPECT_TRUE(equalIgnoringCase(wide(found), notepad())) << extension << ": " << found;
    }
    EXPECT_TRUE(names(tempFolder).empty());
}

TEST(WindowsLookup, AnUnquotedRegisteredPathWithSpacesComesBackWhole)
{
    // C:\...\Program Files ...\My App\app.exe %1: the shell's own answer stops at "Program".
    const auto programs = *folder / (L"Program Files " + musicExtension);
    const auto program = programs / L"My App" / L"app.exe";
    writeFile(program, "");
    const Association plain(L"qimlartest", program.wstring() + L" %1");
    const Association music(musicExtension, program.wstring() + L" \"%1\"");

    EXPECT_EQ(findExe("qimlartest"), utf8(program.wstring()));
    EXPECT_EQ(findExe("QimlarTest"), utf8(program.wstring()));
    EXPECT_EQ(findExe(utf8(musicExtension)), utf8(program.wstring()));
    EXPECT_TRUE(names(tempFolder).empty());
    std::filesystem::remove_all(programs);
}

TEST(WindowsLookup, TrimmedOrSpacedExtensionsAnswerTheWholeRegisteredProgram)
{
    // Windows names the probe "~x.qcut" for "qcut." and "qcut .", and the shell reads ".q cut"
    // as an extension: none may answer ...\My, or anything but the whole path.
    const auto player = *folder / L"qapps" / L"My Player" / L"player.exe";
    writeFile(player, "");
    writeFile(*folder / L"qapps" / L"My.exe", "decoy");
    const Association cut(L"qcut", player.wstring() + L" %1");
    const Association spaced(L"q cut", player.wstring() + L" %1");
    for (const char* extension : {"qcut", "qcut.", "qcut ", "qcut .", "q cut", "q cut. "})
        EXPECT_EQ(findExe(extension), utf8(player.wstring())) << '"' << extension << '"';
    EXPECT_TRUE(names(tempFolder).empty());
    std::filesystem::remove_all(*folder / L"qapps");
}

TEST(WindowsLookup, ABareRegisteredProgramNameAnswersItsFullPath)
{
    const Association bare(L"qnote", L"notepad.exe %1");
    EXPECT_TRUE(equalIgnoringCase(wide(findExe("qnote")), notepad()));
}

TEST(WindowsLookup, NothingOpensUnknownOrEmptyExtensions)
{
    for (const std::string& unknown :
         {std::string("qimlar-unknown"), std::string(), utf8(L"\u4E2D\u0642\u03B1")})
        EXPECT_EQ(lookUp(unknown).status, qimlar::LookupStatus::UnknownType) << unknown;
    EXPECT_TRUE(names(tempFolder).empty());
}

TEST(WindowsLookup, AMissingProgramIsNoProgramWithItsCommandNeverAShorterPath)
{
    // An uninstalled program left its association behind; the shell answers ...\Program.
    writeFile(*folder / L"Program.exe", "decoy");
    const std::wstring command =
        (*folder / L"Program Files" / L"Missing App" / L"app.exe").wstring() + L" %1";
    const Association missing(L"qmiss", command);

    const auto result = lookUp("qmiss");
    EXPECT_EQ(result.status, qimlar::LookupStatus::NoProgram);
    EXPECT_EQ(result.program, "");
    EXPECT_EQ(result.command, utf8(command));
    EXPECT_NE(result.reason.find(utf8(command)), std::string::npos) << result.reason;
    EXPECT_EQ(result.entry, "HKEY_CLASSES_ROOT\\" + utf8(missing.progId()));
    EXPECT_EQ(result.decidedBy, "HKEY_CLASSES_ROOT\\.qmiss");
    std::filesystem::remove(*folder / L"Program.exe");
}

TEST(WindowsLookup, APackagedAppStartsThroughExplorerByItsAppId)
{
    const std::wstring appId = L"Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic";
    const Association packaged(L"qstore", L"", appId);
    const UserChoice chosen(L"qchoice", packaged.progId());
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring explorer = std::wstring(windows) + L"\\explorer.exe";

    for (const char* extension : {"qstore", "qchoice"})
        EXPECT_EQ(findExe(extension), utf8(explorer + L" shell:AppsFolder\\" + appId));
    EXPECT_NE(joined(lookUpIn("qchoice", {.explanation = true}).explanation)
                  .find("AppUserModelID is " + utf8(appId)),
              std::string::npos);
    EXPECT_EQ(lookUp("qchoice").decidedBy,
              "HKEY_CURRENT_USER\\" + utf8(UserChoice::fileExtensions) + "qchoice\\UserChoice");

    // What the launcher hands CreateProcessW for it: Explorer, given the app.
    const auto started = qimlar::win32::processCommand(wide(findExe("qstore")));
    EXPECT_TRUE(equalIgnoringCase(started.program, explorer)) << utf8(started.program);
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(started.line.c_str(), &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::wstring(arguments[1]), L"shell:AppsFolder\\" + appId);
    ::LocalFree(arguments);
}

TEST(WindowsLookup, ProgramsAndScriptsDoNotAnswerWithTheVanishingProbe)
{
    // The shell says such a file opens itself: that would name the probe, deleted at once.
    for (const char* extension : {"exe", "EXE", "bat", "com", "cmd"})
        EXPECT_EQ(findExe(extension), "") << extension;
    EXPECT_TRUE(names(tempFolder).empty());
}
