// What the lookup with the real Windows backend gives besides the answer: the "Open with"
// list, the explanation, and types asked about as their registered extensions.

#include "WindowsLookupSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace windows_test;

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

TEST(WindowsLookupDetail, ATypesExtensionIsAskedAboutThroughTheSessionsOwnProbe)
{
    const Association typed(L"qmime", L"notepad.exe %1");
    ClassesKey database(L"MIME\\Database\\Content Type\\x-qimlar/test");
    database.set(L"", L"Extension", L".qmime");
    const std::string typeKey = "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\";

    qimlar::LookupSession session(qimlar::nativePlatform());
    const auto byType = session.lookUpType("x-qimlar/test", {.explanation = true});
    EXPECT_EQ(byType.status, qimlar::LookupStatus::Found);
    ASSERT_FALSE(byType.explanation.empty());
    EXPECT_EQ(byType.explanation[0],
              typeKey + "x-qimlar/test names the extension .qmime: the lookup asks about that.");
    // The probe waits for the batch's next lookup, which renames it; the end deletes it.
    const std::wstring probe = std::filesystem::path(wide(session.probe())).filename().wstring();
    EXPECT_EQ(names(tempFolder), std::vector<std::wstring>{probe});
    EXPECT_TRUE(probe.ends_with(L".qmime")) << utf8(probe);
    session.lookUp("ini");
    EXPECT_EQ(names(tempFolder).size(), 1u);
    EXPECT_TRUE(session.end());
    EXPECT_TRUE(names(tempFolder).empty());

    // Asked about by itself, the shell needs a file of the type's extension: none is made.
    const auto alone = qimlar::nativePlatform().findTypeAssociation("x-qimlar/test", {});
    EXPECT_EQ(alone.status, qimlar::LookupStatus::Trouble);
    EXPECT_NE(alone.reason.find(".qmime"), std::string::npos) << alone.reason;
    EXPECT_TRUE(names(tempFolder).empty());
    EXPECT_EQ(qimlar::LookUpType("x-qimlar/none", qimlar::nativePlatform(), {.explanation = true})
                  .explanation,
              std::vector<std::string>{typeKey + "x-qimlar/none names no extension: no extension "
                                                 "is registered for the type x-qimlar/none."});
}
