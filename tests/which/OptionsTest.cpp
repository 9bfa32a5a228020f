// qimlar-which's command line read alone: what each word asks for, and the usage errors.

#include "Options.h"

#include <gtest/gtest.h>

using qimlar::which::Options;
using qimlar::which::parseOptions;

namespace {

using Words = std::vector<std::string>;

Options parsed(const Words& arguments)
{
    const auto options = parseOptions(arguments);
    EXPECT_TRUE(options) << options.reason();
    return options ? *options : Options{};
}

} // namespace

TEST(Options, TakesOptionsAmongTheQueriesAndShortOnesJoined)
{
    const Options options = parsed({"mp3", "--json", "-zm", "pdf", "--all", "--explain"});
    EXPECT_EQ(options.queries, (Words{"mp3", "pdf"}));
    EXPECT_TRUE(options.json && options.all && options.explain && options.mime);
    EXPECT_EQ(options.separator, '\0');
    EXPECT_EQ(options.action, Options::Action::Answer);

    EXPECT_EQ(parsed({"--null"}).separator, '\0');
    EXPECT_EQ(parsed({"mp3"}).separator, '\n');
    EXPECT_FALSE(parsed({"mp3"}).mime);
}

TEST(Options, ALoneDashIsAQueryAndDoubleDashEndsTheOptionsOnce)
{
    EXPECT_EQ(parsed({"-"}).queries, Words{"-"});
    const Options ended = parsed({"--", "--json", "--", "-z", "--from"});
    EXPECT_EQ(ended.queries, (Words{"--json", "--", "-z", "--from"}));
    EXPECT_FALSE(ended.json);
    EXPECT_EQ(ended.separator, '\n');
    EXPECT_TRUE(ended.fromFiles.empty());
}

TEST(Options, FromTakesTheNextWordWhateverItIsOrItsJoinedValue)
{
    const Options options = parsed({"--from", "--json", "--from=-", "mp3", "--from", "-"});
    EXPECT_EQ(options.fromFiles, (Words{"--json", "-", "-"}));
    EXPECT_EQ(options.queries, Words{"mp3"});
    EXPECT_FALSE(options.json);
}

TEST(Options, HelpAndVersionAnswerAtOnceWhateverFollows)
{
    EXPECT_EQ(parsed({"mp3", "--help", "--bogus"}).action, Options::Action::Help);
    EXPECT_EQ(parsed({"-h"}).action, Options::Action::Help);
    EXPECT_EQ(parsed({"--version", "-x"}).action, Options::Action::Version);
    EXPECT_EQ(parsed({"-zV", "--from"}).action, Options::Action::Version);
}

TEST(Options, UsageErrorsNameTheWordAtFault)
{
    const std::vector<std::pair<Words, std::string>> wrong = {
        {{"mp3", "--bogus"}, "unknown option '--bogus'"},
        {{"--help=x"}, "unknown option '--help=x'"},
        {{"--json=yes"}, "unknown option '--json=yes'"},
        {{"-zx", "mp3"}, "unknown option '-zx'"},
        {{"-dash"}, "unknown option '-dash'"},
        {{"--bogus", "--help"}, "unknown option '--bogus'"},
        {{"mp3", "--from"}, "option '--from' needs a file"},
    };
    for (const auto& [arguments, message] : wrong) {
        const auto options = parseOptions(arguments);
        ASSERT_FALSE(options) << testing::PrintToString(arguments);
        EXPECT_EQ(options.reason(), message);
    }
}

TEST(Options, SetDefaultTakesItsAppInEitherFormAndRefusesWhatDoesNotGoWithIt)
{
    const Options joined = parsed({"mp3", "--set-default=mpv.desktop", "--dry-run"});
    EXPECT_EQ(joined.action, Options::Action::SetDefault);
    EXPECT_EQ(joined.app, "mpv.desktop");
    EXPECT_TRUE(joined.dryRun);
    // The app is the word after the option, whatever it looks like.
    EXPECT_EQ(parsed({"--set-default", "--json", "mp3"}).app, "--json");
    EXPECT_EQ(parsed({"--undo"}).action, Options::Action::Undo);
    for (const Words& misfit :
         {Words{"--set-default"}, Words{"--dry-run", "mp3"}, Words{"--undo", "mp3"},
          Words{"--undo", "--set-default", "a.desktop"}, Words{"--set-default", "a", "--all"},
          Words{"--set-default", "a", "--from", "-"}})
        EXPECT_FALSE(parseOptions(misfit)) << misfit[0];
}
