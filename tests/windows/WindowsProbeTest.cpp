// The lookup's probe file with the real Windows backend: names it cannot take, a temporary
// folder it cannot use, somebody's file in its way, and a probe that cannot be deleted.

#include "NativePlatform.h"
#include "ProbeName.h"
#include "WindowsLookupSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace windows_test;

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

// A name may take 255 characters, and its path fewer than MAX_PATH. Wine's GetTempFileNameW writes
// its number in hexadecimal without leading zeros ("~ab.tmp"), so the stem is "~" and one to four
// digits: the room left to the extension is measured on the probe's own name. Past that, no file
// name can be that long, and the probe stays as it was.
TEST(WindowsLookup, ExtensionsUpToTheNameLimitAreAskedAboutAndLongerOnesNameNoType)
{
    qimlar::LookupSession session(qimlar::nativePlatform());
    ASSERT_EQ(session.lookUp("ini").status, qimlar::LookupStatus::Found);
    const std::wstring probe = wide(session.probe());
    const std::size_t folder = probe.rfind(L'\\') + 1;
    const std::size_t stem = probe.find(L'.', folder) - folder;
    const std::size_t room = std::min<std::size_t>(255, MAX_PATH - 1 - folder) - stem - 1;
    const std::string longest = std::string(room - 4, 'x') + ".ini";
    const auto found = session.lookUp(longest);
    EXPECT_TRUE(equalIgnoringCase(wide(found.program), notepad()))
        << room << ": " << found.program << found.reason;
    const auto tooLong = session.lookUp("x" + longest);
    EXPECT_EQ(tooLong.status, qimlar::LookupStatus::UnknownType) << tooLong.reason;
    EXPECT_EQ(tooLong.reason, "no file name can be that long");
    EXPECT_EQ(names(tempFolder).size(), 1u);
    EXPECT_TRUE(session.end());
    EXPECT_TRUE(names(tempFolder).empty());
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

TEST(WindowsLookupFaults, AFileAlreadyAtTheProbeNameIsLeftAsItWasAndAnotherStemAsks)
{
    PlantingPlatform platform;
    const std::string found = qimlar::FindExe("ini", platform);
    EXPECT_TRUE(equalIgnoringCase(wide(found), notepad())) << found;
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
