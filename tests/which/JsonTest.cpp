// JSON strings from any bytes: valid JSON always, and the bytes given back by a strict reader.

#include "Json.h"

#include "JsonReader.h"

#include <gtest/gtest.h>

using qimlar::which::jsonString;
using namespace std::literals;

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters)
{
    EXPECT_EQ(jsonString(""), R"("")");
    EXPECT_EQ(jsonString("a\"b\\c/d e"), R"("a\"b\\c/d e")");
    EXPECT_EQ(jsonString("\n\t"), R"("\n\t")");
    EXPECT_EQ(jsonString(std::string("\0\x01\r\x1f\x7f", 5)),
              R"("\u0000\u0001\u000d\u001f\u007f")");
}

TEST(JsonString, KeepsValidUtf8UpToEachEdgeOfIt)
{
    for (const std::string letters :
         {"\xc2\x80", "\xdf\xbf", "\xe0\xa0\x80", "\xed\x9f\xbf", "\xee\x80\x80", "\xef\xbf\xbf",
          "\xf0\x90\x80\x80", "\xf4\x8f\xbf\xbf", "caf\xc3\xa9 \xf0\x9f\x8e\xb5"})
        EXPECT_EQ(jsonString(letters), '"' + letters + '"') << testing::PrintToString(letters);
}

TEST(JsonString, WritesEachByteThatIsNotUtf8AsALoneSurrogate)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\x80", R"(\udc80)"},
        {"caf\xe9", R"(caf\udce9)"},
        {"\xff", R"(\udcff)"},
        {"\xc0\x80", R"(\udcc0\udc80)"},                     // overlong NUL
        {"\xe0\x9f\xbf", R"(\udce0\udc9f\udcbf)"},           // overlong U+07FF
        {"\xf0\x8f\xbf\xbf", R"(\udcf0\udc8f\udcbf\udcbf)"}, // overlong U+FFFF
        {"\xed\xa0\x80", R"(\udced\udca0\udc80)"},           // a surrogate's own UTF-8
        {"\xf4\x90\x80\x80", R"(\udcf4\udc90\udc80\udc80)"}, // past U+10FFFF
        {"\xe2\x82", R"(\udce2\udc82)"},                     // cut short by the end
        {"\xe2\x82x", R"(\udce2\udc82x)"},                   // cut short by a letter
        {"\xc3\xe2\x82\xac", "\\udcc3\xe2\x82\xac"},         // by a whole sequence
        {"\xf0\x9f\x8e\"", R"(\udcf0\udc9f\udc8e\")"},
    };
    for (const auto& [bytes, json] : cases)
        EXPECT_EQ(jsonString(bytes), '"' + json + '"') << testing::PrintToString(bytes);
}

// Every string of one or two bytes, and every one of up to four from the bytes where UTF-8
// changes its mind, read back to the same bytes by the tests' strict reader.
TEST(JsonString, EveryShortByteStringReadsBackAsItself)
{
    const auto readsBack = [](const std::string& bytes) {
        const auto json = Json::parse(jsonString(bytes));
        return json && json->kind == Json::Kind::String && json->text == bytes;
    };
    for (int first = 0; first < 256; ++first) {
        ASSERT_TRUE(readsBack(std::string(1, static_cast<char>(first)))) << first;
        for (int second = 0; second < 256; ++second)
            ASSERT_TRUE(readsBack({static_cast<char>(first), static_cast<char>(second)}))
                << first << " " << second;
    }
    const std::string_view edges = "\x00\"\\A\x7f\x80\x8f\x90\x9f\xa0\xbf\xc0\xc1\xc2\xdf\xe0\xed"
                                   "\xef\xf0\xf4\xf5\xff"sv;
    for (const char a : edges)
        for (const char b : edges)
            for (const char c : edges)
                for (const char d : edges) {
                    const std::string bytes = {a, b, c, d};
                    ASSERT_TRUE(readsBack(bytes) && readsBack(bytes.substr(0, 3)))
                        << testing::PrintToString(bytes);
                }
}
