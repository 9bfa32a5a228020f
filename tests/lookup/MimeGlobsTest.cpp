// Which line of the MIME databases' glob files gives a type to a name, as GIO matches them.

#include "xdg/MimeGlobs.h"

#include "TempTree.h"

#include <gtest/gtest.h>

namespace {

struct Matched
{
    std::string file, pattern;
    int weight;
    bool caseSensitive;
    bool operator==(const Matched&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Matched& m)
{
    return out << m.file << ":" << m.weight << ":" << m.pattern << (m.caseSensitive ? ":cs" : "");
}

} // namespace

TEST(MimeGlobs, TheHeaviestThenTheLongestLineOfTheEarlierFileMatchesAsGioMatches)
{
    TempTree tree;
    const std::string first = tree.write("first/globs2", "# weight:type:pattern\n"
                                                         "50:text/x-a:*.notes.txt\n"
                                                         "60:text/x-a:*.txt\n"
                                                         "50:text/x-b:*.gz\n"
                                                         "50:text/x-b:*.tar.gz\n"
                                                         "50:text/x-other:*.tar.gz.b\n"
                                                         "50:text/x-c:*.C:cs\n"
                                                         "50:text/x-make:Makefile\n"
                                                         "50:text/x-shell:[ab]*.sh\n");
    const std::string second = tree.write("second/globs2", "60:text/x-a:*.txt\n"
                                                           "40:text/x-b:*.b\n");
    const auto best = [&](const std::string& name, const std::string& type) {
        const auto glob = qimlar::xdg::bestGlob({first, second}, name, type);
        return glob ? Matched{glob->file, glob->pattern, glob->weight, glob->caseSensitive}
                    : Matched{};
    };
    // The weight before the length; the earlier file wins a tie; ASCII case aside.
    EXPECT_EQ(best("a.notes.txt", "text/x-a"), (Matched{first, "*.txt", 60, false}));
    EXPECT_EQ(best("README.TXT", "text/x-a"), (Matched{first, "*.txt", 60, false}));
    EXPECT_EQ(best("x.tar.gz", "text/x-b"), (Matched{first, "*.tar.gz", 50, false}));
    EXPECT_EQ(best("x.tar.gz.b", "text/x-b"), (Matched{second, "*.b", 40, false}));
    // Case-sensitive lines, literal names and shell patterns.
    EXPECT_EQ(best("main.C", "text/x-c"), (Matched{first, "*.C", 50, true}));
    EXPECT_EQ(best("main.c", "text/x-c"), Matched{});
    EXPECT_EQ(best("makefile", "text/x-make"), Matched{});
    EXPECT_EQ(best("Makefile", "text/x-make"), (Matched{first, "Makefile", 50, false}));
    EXPECT_EQ(best("b-run.sh", "text/x-shell"), (Matched{first, "[ab]*.sh", 50, false}));
    EXPECT_EQ(best("c-run.sh", "text/x-shell"), Matched{});
}
