// qimlar-which.exe as a process: its answers, caught from a pipe, are the library's answers.

#include "JsonReader.h"
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

TEST_F(WindowsWhich, ReadsQueriesFromAFileAsUtf8WithCrLfAndAnswersInJsonAndByType)
{
    const Association plain(L"qimlartest", program + L" %1");
    // A type's extension, where HKEY_CLASSES_ROOT shows it (see Association).
    const std::wstring contentType =
        L"Software\\Classes\\MIME\\Database\\Content Type\\application/x-qimlar-test";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        Association::setText(root, contentType, L"Extension", L".qimlartest");

    // An editor's byte-order mark and CR LF line ends are no part of the queries.
    const auto list = folder / L"list.txt";
    writeFile(list, "\xEF\xBB\xBFqimlartest\r\n" + utf8(music) + "\r\nqimlar-unknown\r\n");
    const auto fromFile = runCaught(which() + L" --from \"" + list.wstring() + L"\" ini");
    EXPECT_EQ(fromFile.output, expected({L"ini", L"qimlartest", music, L"qimlar-unknown"}, "\r\n"));
    EXPECT_EQ(fromFile.exitCode, 1u);

    const auto json = runCaught(which() + L" --json qimlartest \"" + music + L"\" qimlar-unknown");
    const auto answers = Json::parse(json.output);
    ASSERT_TRUE(answers) << json.output;
    EXPECT_EQ((*answers)[0]["program"].text, utf8(program));
    EXPECT_EQ((*answers)[0]["desktop_entry"].text, "HKEY_CLASSES_ROOT\\" + utf8(plain.progId()));
    EXPECT_EQ((*answers)[1]["query"].text, utf8(music));
    EXPECT_EQ((*answers)[2]["status"].text, "unknown-type");

    const auto byType = runCaught(which() + L" --mime application/x-qimlar-test");
    EXPECT_EQ(byType.output, utf8(program) + "\r\n");
    EXPECT_EQ(byType.exitCode, 0u);
    // A batch of types, one probe for all, through the process's recorded probe.
    const auto types =
        runCaught(which() + L" --mime application/x-qimlar-test application/x-qimlar-none "
                            L"application/x-qimlar-test");
    EXPECT_EQ(types.output, utf8(program) + "\r\n\r\n" + utf8(program) + "\r\n");
    EXPECT_EQ(types.exitCode, 1u);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        ::RegDeleteTreeW(root, contentType.c_str());
}

TEST_F(WindowsWhich, ListsTheOpenWithProgramsAndExplainsTheDecision)
{
    const Association plain(L"qimlartest", program + L" %1");
    const Association other(L"qimlar-other", L"notepad.exe %1");
    plain.setOnExtension(L"OpenWithProgids", other.progId().c_str(), L"");
    plain.setOnExtension(L"", L"Content Type", L"application/x-qimlar-test");

    const auto json = runCaught(which() + L" --json --all --explain qimlartest");
    const auto answers = Json::parse(json.output);
    ASSERT_TRUE(answers) << json.output;
    const Json& answer = (*answers)[0];
    EXPECT_EQ(answer["type"].text, "application/x-qimlar-test");
    EXPECT_EQ(answer["decided_by"].text, "HKEY_CLASSES_ROOT\\.qimlartest");
    ASSERT_EQ(answer["programs"].items.size(), 2u) << json.output;
    EXPECT_TRUE(answer["programs"][0]["default"].boolean);
    EXPECT_EQ(answer["programs"][0]["program"].text, utf8(program));
    EXPECT_EQ(answer["programs"][1]["relation"].text, "registered");
    EXPECT_EQ(answer["programs"][1]["desktop_entry"].text,
              "HKEY_CLASSES_ROOT\\" + utf8(other.progId()));
    std::string sentences;
    for (const Json& sentence : answer["explanation"].items)
        sentences += sentence.text + "\n";
    EXPECT_NE(sentences.find("The class registration HKEY_CLASSES_ROOT\\.qimlartest decides"),
              std::string::npos)
        << sentences;

    const auto text = runCaught(which() + L" --all --explain qimlartest");
    EXPECT_NE(text.output.find("  * " + utf8(program) + "  (default; HKEY_CLASSES_ROOT\\"),
              std::string::npos)
        << text.output;
    EXPECT_NE(text.output.find("  The open command of HKEY_CLASSES_ROOT\\" + utf8(plain.progId()) +
                               " is " + utf8(program) + " %1."),
              std::string::npos)
        << text.output;
    EXPECT_EQ(text.exitCode, 0u);
}
