// The lookup with the real Windows backend. The temporary folder is one of the test's own, with
// a dot and letters from no ANSI code page in its path; associations come from the shell's
// registry, Wine's own and ones the test registers.

#include "NativePlatform.h"
#include "ProbeName.h"
#include "WindowsTestSupport.h"
#include "lookup/FindExe.h"
#include "win32/CommandLine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

using namespace windows_test;

namespace {

PrivateFolder* folder = nullptr;
std::filesystem::path tempFolder;

void setTemporaryFolder(const std::wstring& path)
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

const auto* const environment = ::testing::AddGlobalTestEnvironment(new PrivateTemporaryFolder);

std::string findExe(const std::string& extension)
{
    return qimlar::FindExe(extension, qimlar::nativePlatform());
}

qimlar::LookupResult lookUp(const std::string& extension)
{
    return qimlar::LookUpProgram(extension, qimlar::nativePlatform());
}

std::wstring notepad()
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\notepad.exe";
}

qimlar::LookupResult lookUpIn(const std::string& extension, const qimlar::LookupDetail& detail)
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

std::string joined(const std::vector<std::string>& sentences)
{
    std::string text;
    for (const auto& sentence : sentences)
        text += sentence + "\n";
    return text;
}

// Letters from Arabic, Greek and beyond the 16-bit plane together: no ANSI code page holds them.
const std::wstring musicExtension = L"\U0001F3B5\u0642\u03B1";

} // namespace

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

TEST(WindowsLookup, ExtensionsThatCannotEndAFileNameLeaveNothingAnywhere)
{
    const std::string refused[] = {
        "a\\b",  "..\\..\\ini",          "a/b", "a:b", "*", "?", "\"ini\"", "<", ">", "|", "\t",
        "ini\n", std::string("i\0ni", 4)};
    for (const std::string& extension : refused)
        EXPECT_EQ(findExe(extension), "") << extension;
    // The temporary extension itself, and in other letters: the probe keeps or changes case.
    for (const char* extension : {"tmp", "TMP"})
        findExe(extension);
    EXPECT_TRUE(names(tempFolder).empty());
    EXPECT_EQ(names(folder->path()), std::vector<std::wstring>{L"Temp"});
}

TEST(WindowsLookup, AnUnusableTemporaryFolderIsTroubleWithItsReason)
{
    setTemporaryFolder((*folder / L"missing\\").wstring());
    const auto result = lookUp("ini");
    EXPECT_EQ(result.status, qimlar::LookupStatus::Trouble);
    EXPECT_EQ(result.reason.rfind("cannot make a file in ", 0), 0u) << result.reason;
    // Longer than a Windows path may be: the folder does not fit its buffer.
    setTemporaryFolder(L"C:\\" + std::wstring(300, L'x') + L"\\");
    EXPECT_EQ(findExe("ini"), "");
    setTemporaryFolder(tempFolder.wstring() + L"\\");
    EXPECT_EQ(names(folder->path()), std::vector<std::wstring>{L"Temp"});
}

namespace {

// Stands a file of somebody else's at the probe name "ini" takes, between creating the probe and
// renaming it.
class PlantingPlatform : public qimlar::NativePlatform
{
public:
    std::filesystem::path planted;

    qimlar::Outcome<std::string> createUniqueFile(const std::string& in,
                                                  const std::string& prefix) override
    {
        auto created = NativePlatform::createUniqueFile(in, prefix);
        planted = wide(qimlar::probeName(*created, "ini"));
        writeFile(planted, "somebody's data");
        return created;
    }
};

} // namespace

TEST(WindowsLookupFaults, AFileAlreadyAtTheProbeNameIsLeftAsItWas)
{
    PlantingPlatform platform;
    EXPECT_EQ(qimlar::FindExe("ini", platform), "");
    EXPECT_EQ(readFile(platform.planted), "somebody's data");
    EXPECT_EQ(names(tempFolder), std::vector<std::wstring>{platform.planted.filename().wstring()});
    std::filesystem::remove(platform.planted);
}

// Held open, as a virus scanner may hold it, the probe cannot be deleted: never in silence.
TEST(WindowsLookupFaults, AProbeThatCannotBeDeletedIsTroubleWithTheSystemsReason)
{
    struct HoldingPlatform : qimlar::NativePlatform
    {
        HANDLE held = INVALID_HANDLE_VALUE;
        qimlar::LookupResult findAssociation(const std::string& file,
                                             const qimlar::LookupDetail& detail) override
        {
            held = ::CreateFileW(wide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
            return NativePlatform::findAssociation(file, detail);
        }
    } platform;
    const auto result = qimlar::LookUpProgram("ini", platform);
    ::CloseHandle(platform.held);
    EXPECT_EQ(result.status, qimlar::LookupStatus::Trouble);
    const auto left = names(tempFolder);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(result.reason.find("cannot delete "), 0u) << result.reason;
    EXPECT_NE(result.reason.find(utf8(left[0]) + ": "), std::string::npos) << result.reason;
    std::filesystem::remove(tempFolder / left[0]);
}

TEST(WindowsLookupDetail, EveryProgramOfTheOpenWithListInItsOrderEachOnce)
{
    const Application chosen(*folder, L"qimlar-chosen.exe"), progIds(*folder, L"qimlar-ids.exe"),
        users(*folder, L"qimlar-users.exe"), recent(*folder, L"qimlar-recent.exe"),
        older(*folder, L"qimlar-older.exe"), listed(*folder, L"qimlar-listed.exe"),
        kind(*folder, L"qimlar-kind.exe");
    const auto command = [](const Application& app) {
        return L"\"" + app.program + L"\" \"%1\"";
    };
    const Association all(L"qall", command(chosen));
    const Association byClass(L"qall-a", command(progIds)), byUser(L"qall-b", command(users));
    // Each list holds one class of its own: Wine gives values in name order, Windows in the
    // order they were set.
    for (const auto* progId : {&byClass.progId(), &all.progId()})
        all.setOnExtension(L"OpenWithProgids", progId->c_str(), L"");
    // The user's lists: the same class again, and two applications, the later used last.
    const std::wstring usersKey = std::wstring(UserChoice::fileExtensions) + L"qall";
    Association::setText(HKEY_CURRENT_USER, usersKey + L"\\OpenWithProgids",
                         byUser.progId().c_str(), L"");
    Association::setText(HKEY_CURRENT_USER, usersKey + L"\\OpenWithProgids",
                         byClass.progId().c_str(), L"");
    Association::setText(HKEY_CURRENT_USER, usersKey + L"\\OpenWithList", L"a",
                         L"qimlar-older.exe");
    Association::setText(HKEY_CURRENT_USER, usersKey + L"\\OpenWithList", L"b",
                         L"qimlar-recent.exe");
    Association::setText(HKEY_CURRENT_USER, usersKey + L"\\OpenWithList", L"MRUList", L"ba");
    all.setOnExtension(L"OpenWithList\\qimlar-listed.exe", nullptr, L"");
    all.setOnExtension(L"OpenWithList\\qimlar-gone.exe", nullptr, L"");
    ClassesKey uninstalled(L"Applications\\qimlar-gone.exe");
    uninstalled.set(L"shell\\open\\command", nullptr, L"C:\\qimlar-gone\\gone.exe %1");
    all.setOnExtension(L"", L"PerceivedType", L"qimlar-kind");
    ClassesKey perceived(L"SystemFileAssociations\\qimlar-kind");
    perceived.set(L"OpenWithList\\qimlar-kind.exe", nullptr, L"");
    perceived.set(L"OpenWithList\\qimlar-listed.exe", nullptr, L"");
    perceived.set(L"OpenWithList\\notepad.exe", nullptr, L""); // known by its name alone

    const auto result = lookUpIn("qall", {.everyProgram = true});
    ::RegDeleteTreeW(HKEY_CURRENT_USER, usersKey.c_str());
    using enum qimlar::ProgramRelation;
    const std::vector<std::tuple<std::wstring, std::wstring, qimlar::ProgramRelation>> expected = {
        {chosen.program, all.progId(), Default},
        {progIds.program, byClass.progId(), Registered},
        {users.program, byUser.progId(), Registered},
        {recent.program, recent.key, Registered},
        {older.program, older.key, Registered},
        {L"", L"Applications\\qimlar-gone.exe", Registered},
        {listed.program, listed.key, Registered},
        {notepad(), L"Applications\\notepad.exe", ParentType},
        {kind.program, kind.key, ParentType}};
    ASSERT_EQ(result.programs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [program, key, relation] = expected[i];
        const auto& choice = result.programs[i];
        EXPECT_TRUE(equalIgnoringCase(wide(choice.program), program))
            << i << ": " << choice.program;
        EXPECT_TRUE(equalIgnoringCase(wide(choice.entry), L"HKEY_CLASSES_ROOT\\" + key))
            << i << ": " << choice.entry;
        EXPECT_EQ(choice.relation, relation) << i;
    }
    EXPECT_EQ(result.programs[5].command, "C:\\qimlar-gone\\gone.exe %1");
    EXPECT_EQ(result.programs[3].command, utf8(command(recent)));
    EXPECT_TRUE(lookUp("qall").programs.empty());
    std::filesystem::remove_all(*folder / L"Apps q");
}

TEST(WindowsLookupDetail, TheExplanationNamesTheDecidingKeyTheClassItsCommandAndTheAnswer)
{
    const auto program = *folder / L"Program Files q" / L"My App" / L"app.exe";
    writeFile(program, "");
    const std::wstring command = program.wstring() + L" %1";
    const Association registered(L"qwhy", command), other(L"qwhy-b", L"notepad.exe %1");
    const std::string classKey = "HKEY_CLASSES_ROOT\\.qwhy";

    std::string text = joined(lookUpIn("qwhy", {.explanation = true}).explanation);
    for (const std::string& said :
         {"The lookup asked about the empty file " + utf8(tempFolder.wstring()),
          "There is no user's choice HKEY_CURRENT_USER\\" + utf8(UserChoice::fileExtensions) +
              "qwhy\\UserChoice.",
          "The class registration " + classKey + " decides: it names the class (ProgID) " +
              utf8(registered.progId()) + ".",
          "The open command of HKEY_CLASSES_ROOT\\" + utf8(registered.progId()) + " is " +
              utf8(command) + ".",
          std::string("FindExecutableW answers "), std::string("cut at its first space"),
          "The answer is " + utf8(program.wstring()) + "."})
        EXPECT_NE(text.find(said), std::string::npos) << said << "\nin:\n" << text;

    const UserChoice chosen(L"qwhy", other.progId());
    text = joined(lookUpIn("qwhy", {.explanation = true}).explanation);
    EXPECT_NE(text.find("The user's choice HKEY_CURRENT_USER\\" + utf8(UserChoice::fileExtensions) +
                        "qwhy\\UserChoice decides: it names " + "the class (ProgID) " +
                        utf8(other.progId()) + "."),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find(classKey + " decides"), std::string::npos) << text;

    text = joined(lookUpIn("qimlar-unknown", {.explanation = true}).explanation);
    EXPECT_NE(text.find("no file type is registered for .qimlar-unknown."), std::string::npos)
        << text;
    EXPECT_TRUE(lookUp("qwhy").explanation.empty());
    std::filesystem::remove_all(*folder / L"Program Files q");
}

TEST(WindowsLookupDetail, ATypeIsAnsweredAsItsRegisteredExtension)
{
    const Association typed(L"qmime", L"notepad.exe %1");
    typed.setOnExtension(L"", L"Content Type", L"x-qimlar/test");
    ClassesKey database(L"MIME\\Database\\Content Type\\x-qimlar/test");
    database.set(L"", L"Extension", L".qmime");

    const auto byExtension = lookUp("qmime");
    const auto byType = qimlar::LookUpType("x-qimlar/test", qimlar::nativePlatform());
    EXPECT_EQ(byExtension.type, "x-qimlar/test");
    EXPECT_EQ(byType.status, qimlar::LookupStatus::Found);
    EXPECT_EQ(byType.program, byExtension.program);
    EXPECT_EQ(byType.entry, byExtension.entry);
    EXPECT_EQ(byType.type, "x-qimlar/test");
    EXPECT_EQ(lookUp("ini").type, "");

    for (const char* unknown : {"x-qimlar/unregistered", "", "x-qimlar\\..\\test"}) {
        const auto result = qimlar::LookUpType(unknown, qimlar::nativePlatform());
        EXPECT_EQ(result.status, qimlar::LookupStatus::UnknownType) << unknown;
        EXPECT_EQ(result.reason, "no extension is registered for the type " + std::string(unknown));
    }
    EXPECT_TRUE(names(tempFolder).empty());
}
