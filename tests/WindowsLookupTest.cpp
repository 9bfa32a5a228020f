// The lookup with the real Windows backend. The temporary folder is one of the test's own, with
// a dot and letters from no ANSI code page in its path; associations come from the shell's
// registry, Wine's own and ones the test registers.

#include "FindExe.h"
#include "NativePlatform.h"
#include "ProbeName.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

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

std::wstring notepad()
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system) + L"\\notepad.exe";
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

TEST(WindowsLookup, NothingOpensUnknownOrEmptyExtensions)
{
    EXPECT_EQ(findExe("qimlar-unknown"), "");
    EXPECT_EQ(findExe(""), "");
    EXPECT_EQ(findExe(utf8(L"\u4E2D\u0642\u03B1")), "");
    EXPECT_TRUE(names(tempFolder).empty());
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

TEST(WindowsLookup, AnUnusableTemporaryFolderGivesNothing)
{
    setTemporaryFolder((*folder / L"missing\\").wstring());
    EXPECT_EQ(findExe("ini"), "");
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
