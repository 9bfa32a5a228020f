// qimlar-which's JSON document, its lists of every program and its sentences, as a script
// reads them.

#include "JsonReader.h"
#include "WhichProcess.h"
#include "lookup/FindExe.h"
#include "lookup/Platform.h"

TEST_F(Which, JsonHoldsEveryKeyOfEveryQueryWhateverItsBytes)
{
    const std::vector<std::string> queries = {
        "mp3", "latin", "orphan", "qimlar-unknown", "", "a\"\\\n\x01\xff\xed\xa0\x80"};
    const Outcome asked = run({"--json", "--", "mp3", "latin", "orphan", "qimlar-unknown", "",
                               "a\"\\\n\x01\xff\xed\xa0\x80"});
    EXPECT_EQ(asked.status, 1);
    const auto json = Json::parse(asked.out);
    ASSERT_TRUE(json) << asked.out;
    ASSERT_EQ(json->items.size(), queries.size()) << asked.out;
    // The path that is not UTF-8 keeps its byte as a lone surrogate.
    EXPECT_NE(asked.out.find("caf\\udce9/latin-player"), std::string::npos) << asked.out;

    const auto text = [](const Json& value) {
        return value.kind == Json::Kind::Null ? "" : value.text;
    };
    for (std::size_t i = 0; i < queries.size(); ++i) {
        const Json& answer = (*json)[i];
        const auto expected = qimlar::LookUpProgram(queries[i], qimlar::nativePlatform());
        const bool found = expected.status == qimlar::LookupStatus::Found;
        EXPECT_EQ(answer.keys(),
                  (std::vector<std::string>{"query", "type", "program", "command", "desktop_entry",
                                            "decided_by", "terminal", "status", "reason"}));
        EXPECT_EQ(answer["query"].text, queries[i]);
        EXPECT_EQ(text(answer["type"]), expected.type);
        EXPECT_EQ(text(answer["program"]), expected.program);
        EXPECT_EQ(text(answer["command"]), expected.command);
        EXPECT_EQ(text(answer["desktop_entry"]), expected.entry);
        EXPECT_EQ(text(answer["decided_by"]), found ? expected.decidedBy : "");
        EXPECT_EQ(answer["terminal"].kind, Json::Kind::Boolean);
        EXPECT_EQ(text(answer["reason"]), found ? "" : expected.reason);
    }
    EXPECT_EQ((*json)[0]["program"].text, desktop->player);
    EXPECT_EQ((*json)[1]["program"].text, desktop->latinPlayer);
    const std::vector<std::string> statuses = {"found",        "found",        "no-program",
                                               "unknown-type", "unknown-type", "unknown-type"};
    for (std::size_t i = 0; i < statuses.size(); ++i)
        EXPECT_EQ((*json)[i]["status"].text, statuses[i]) << queries[i];

    const Outcome term = run({"--json", "term"});
    EXPECT_TRUE(Json::parse(term.out).value()[0]["terminal"].boolean) << term.out;
    EXPECT_EQ(run({"--json", "--from", "/dev/null"}).out, "[]\n");
    EXPECT_EQ(run({"--json", "mp3"}, "/dev/full").status, 2);

    setenv("TMPDIR", (*tree / "no-such").c_str(), 1);
    const Outcome trouble = run({"--json", "mp3"});
    setenv("TMPDIR", desktop->tempFolder.c_str(), 1);
    EXPECT_EQ(trouble.status, 2);
    const auto troubled = Json::parse(trouble.out);
    ASSERT_TRUE(troubled) << trouble.out;
    EXPECT_EQ((*troubled)[0]["status"].text, "trouble");
    EXPECT_NE((*troubled)[0]["reason"].text.find("cannot make a file in"), std::string::npos);
    EXPECT_NE(trouble.err.find("cannot make a file in"), std::string::npos);
}

TEST_F(Which, AllListsEveryProgramInTheDesktopsOrderAndExplainSaysWhatDecided)
{
    const std::string bin = *tree / "bin/", apps = *tree / "data/applications/";
    const Outcome all = run({"--all", "mp3", "orphan"});
    EXPECT_EQ(all.out, "mp3 (audio/mpeg): " + bin + "player\n" + "  * " + bin +
                           "player  (default; " + apps + "player.desktop)\n" + "    " + bin +
                           "vlc  (registered; " + apps + "vlc.desktop)\n" + "    " + bin +
                           "viewer  (parent-type; " + apps + "viewer.desktop)\n" +
                           "\norphan (application/x-qimlar-orphan): no-program (no installed "
                           "desktop entry opens application/x-qimlar-orphan or a type it is a "
                           "kind of)\n");
    EXPECT_EQ(all.status, 1);

    const Outcome explained = run({"--explain", "--mime", "audio/mpeg"});
    EXPECT_EQ(explained.out.rfind("audio/mpeg: " + bin + "player\n  ", 0), 0u) << explained.out;
    for (const std::string& step : {"  `audio/mpeg=player.desktop` in [Default Applications] of " +
                                        (*tree / "config/mimeapps.list").string() +
                                        " names player.desktop: this line "
                                        "decides.\n",
                                    "  The desktop entry chosen is " + apps + "player.desktop.\n"})
        EXPECT_NE(explained.out.find(step), std::string::npos) << explained.out;

    const auto json = Json::parse(run({"--json", "--all", "--explain", "mp3", "orphan"}).out);
    ASSERT_TRUE(json);
    const Json& mp3 = (*json)[0];
    EXPECT_EQ(mp3.keys().back(), "explanation");
    const std::vector<std::pair<std::string, std::string>> programs = {
        {"player", "default"}, {"vlc", "registered"}, {"viewer", "parent-type"}};
    ASSERT_EQ(mp3["programs"].items.size(), programs.size());
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const Json& program = mp3["programs"][i];
        EXPECT_EQ(program.keys(), (std::vector<std::string>{"program", "command", "desktop_entry",
                                                            "default", "relation"}));
        EXPECT_EQ(program["program"].text, bin + programs[i].first);
        EXPECT_EQ(program["command"].text, programs[i].first);
        EXPECT_EQ(program["desktop_entry"].text, apps + programs[i].first + ".desktop");
        EXPECT_EQ(program["default"].boolean, i == 0);
        EXPECT_EQ(program["relation"].text, programs[i].second);
    }
    // The first sentence names the probe, whose name differs each time.
    const auto steps =
        qimlar::LookUpProgram("mp3", qimlar::nativePlatform(), {.explanation = true}).explanation;
    ASSERT_EQ(mp3["explanation"].items.size(), steps.size());
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_EQ(mp3["explanation"][i].text, steps[i]);
    EXPECT_EQ((*json)[1]["programs"].kind, Json::Kind::Array);
    EXPECT_TRUE((*json)[1]["programs"].items.empty());
}
