// Settings' Default apps page, where Windows lets the user alone choose the program for a type:
// its address, at the program's own registration under RegisteredApplications, handed to the
// shell (a recording stand-in: Settings itself is not opened); and the name "Open with" shows.

#include "NativePlatform.h"
#include "WindowsLookupSupport.h"
#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

using namespace windows_test;

namespace {

// The native platform, the shell's part recorded instead of done.
struct RecordingShell : qimlar::NativePlatform
{
    std::vector<std::string> opened;
    qimlar::Status openWithShell(const std::string& address) override
    {
        opened.push_back(address);
        return qimlar::Done{};
    }
};

// An application registered under `root`'s RegisteredApplications as `name`, its capabilities
// naming `progId` for files of `extension`, for as long as the object lives.
class Registration
{
public:
    Registration(HKEY root, const std::wstring& name, const std::wstring& extension,
                 const std::wstring& progId)
        : root_(root), name_(name), key_(L"Software\\QimlarTest\\" + name)
    {
        Association::setText(root, key_ + L"\\Capabilities\\FileAssociations",
                             (L"." + extension).c_str(), progId);
        Association::setText(root, apps, name.c_str(), key_ + L"\\Capabilities");
    }
    ~Registration()
    {
        ::RegDeleteKeyValueW(root_, apps, name_.c_str());
        ::RegDeleteTreeW(root_, key_.c_str());
    }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    static constexpr const wchar_t* apps = L"Software\\RegisteredApplications";
    HKEY root_;
    std::wstring name_, key_;
};

} // namespace

TEST(WindowsSettings, TheDefaultAppsPageOpensAtTheProgramsOwnRegistration)
{
    const Association player(L"qset", L"notepad.exe %1");
    const auto programs = lookUpIn("qset", {.everyProgram = true}).programs;
    ASSERT_FALSE(programs.empty());
    const qimlar::ProgramChoice& choice = programs.front();
    RecordingShell shell;

    // Nobody registers it: the page itself.
    EXPECT_TRUE(shell.openDefaultAppsSettings(choice));
    {
        const Registration machine(HKEY_LOCAL_MACHINE, L"Qimlar Test Player", L"qset",
                                   player.progId());
        EXPECT_TRUE(shell.openDefaultAppsSettings(choice));
        // The user's registration first; another program's class is not this one.
        const Registration other(HKEY_CURRENT_USER, L"Other", L"qset", L"Other.Class");
        const Registration user(HKEY_CURRENT_USER, L"Pl\u00E4yer \u0642", L"qset", player.progId());
        EXPECT_TRUE(shell.openDefaultAppsSettings(choice));
    }
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{
                  "ms-settings:defaultapps",
                  "ms-settings:defaultapps?registeredAppMachine=Qimlar%20Test%20Player",
                  "ms-settings:defaultapps?registeredAppUser=Pl%C3%A4yer%20%D9%82"}));

    // Wine has no Settings: the shell's refusal comes back, saying why.
    const auto opened = qimlar::nativePlatform().openDefaultAppsSettings(choice);
    EXPECT_FALSE(opened);
    EXPECT_EQ(opened.reason().rfind("cannot open ms-settings:defaultapps: ", 0), 0u)
        << opened.reason();
}

TEST(WindowsSettings, EachProgramGoesByItsFriendlyAppName)
{
    const Association player(L"qname", L"notepad.exe %1");
    // Where the class is registered, the user's and the machine's; it goes with the class.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        Association::setText(root, L"Software\\Classes\\" + player.progId() + L"\\shell\\open",
                             L"FriendlyAppName", L"Qimlar \u0645\u0634\u063A\u0644");
    const auto programs = lookUpIn("qname", {.everyProgram = true}).programs;
    ASSERT_FALSE(programs.empty());
    EXPECT_EQ(programs.front().name, "Qimlar \u0645\u0634\u063A\u0644");
    EXPECT_TRUE(equalIgnoringCase(wide(programs.front().icon), notepad()));
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + player.progId()).c_str());
}
