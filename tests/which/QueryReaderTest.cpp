// The queries of a stream read alone: where each ends, what is kept of it, and the wait.

#include "QueryReader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

using qimlar::which::QueryReader;

namespace {

using Queries = std::vector<std::string>;

// A file of its own holding `bytes`, open for reading from its start, gone at the end.
class FileOf
{
public:
    explicit FileOf(const std::string& bytes)
        : path_(std::filesystem::temp_directory_path() /
                ("qimlar-queries-" + std::to_string(std::random_device{}())))
    {
        stream_ = std::fopen(path_.string().c_str(), "w+b");
        EXPECT_TRUE(stream_ && std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size());
        if (stream_)
            std::rewind(stream_);
    }
    ~FileOf()
    {
        if (stream_)
            std::fclose(stream_);
        std::filesystem::remove(path_);
    }
    std::FILE* stream() const { return stream_; }

private:
    std::filesystem::path path_;
    std::FILE* stream_ = nullptr;
};

Queries readAll(const std::string& bytes, char separator)
{
    FileOf file(bytes);
    QueryReader reader(file.stream(), separator);
    Queries queries;
    while (const auto query = reader.next())
        queries.push_back(*query);
    EXPECT_FALSE(reader.failed()) << reader.error();
    return queries;
}

} // namespace

TEST(QueryReader, ALastQueryWithoutItsSeparatorCountsAndAFinalSeparatorAddsNone)
{
    EXPECT_EQ(readAll("", '\n'), Queries{});
    EXPECT_EQ(readAll("\n", '\n'), Queries{""});
    EXPECT_EQ(readAll("mp3\n\npdf\nogg", '\n'), (Queries{"mp3", "", "pdf", "ogg"}));
    EXPECT_EQ(readAll("mp3\npdf\n", '\n'), (Queries{"mp3", "pdf"}));
    EXPECT_EQ(readAll(std::string("mp3\0a\nb\0\0last", 14), '\0'),
              (Queries{"mp3", "a\nb", "", "last"}));
    EXPECT_EQ(readAll(std::string("mp3\0", 4), '\0'), Queries{"mp3"});
}

TEST(QueryReader, QueriesAcrossManyReadsComeWholeAndInOrder)
{
    Queries expected;
    std::string bytes;
    for (int i = 0; i < 40000; ++i) {
        expected.push_back("q" + std::to_string(i));
        bytes += expected.back() + '\n';
    }
    // As long as a query may be, across two reads.
    expected.push_back(std::string(QueryReader::longestQuery, 'x'));
    bytes += expected.back();
    EXPECT_EQ(readAll(bytes, '\n'), expected);
}

// No name on Windows ends in CR, and editors there start a UTF-8 file with a byte-order mark;
// elsewhere both are bytes a name may hold.
TEST(QueryReader, LineEndsAndAByteOrderMarkAsTheSystemNamesFiles)
{
    const std::string mark = "\xEF\xBB\xBF";
    const Queries lines = readAll(mark + "mp3\r\npdf\r\r\n" + mark + "ogg\r", '\n');
    const Queries nulls = readAll(mark + std::string("a\r\0b", 4), '\0');
#ifdef _WIN32
    EXPECT_EQ(lines, (Queries{"mp3", "pdf\r", mark + "ogg"}));
    EXPECT_EQ(nulls, (Queries{"a\r", "b"}));
#else
    EXPECT_EQ(lines, (Queries{mark + "mp3\r", "pdf\r\r", mark + "ogg\r"}));
    EXPECT_EQ(nulls, (Queries{mark + "a\r", "b"}));
#endif
}

// The caller deletes its probe before a read that may wait, and only then.
TEST(QueryReader, SaysBeforeWaitingForAWriterThatHasNotWrittenYet)
{
    int ends[2];
#ifdef _WIN32
    ASSERT_EQ(_pipe(ends, 4096, _O_BINARY), 0);
    std::FILE* stream = _fdopen(ends[0], "rb");
#else
    ASSERT_EQ(pipe(ends), 0);
    std::FILE* stream = fdopen(ends[0], "rb");
#endif
    ASSERT_TRUE(stream);
    ASSERT_EQ(write(ends[1], "mp3\npd", 6), 6);
    int waits = 0;
    const auto lastWords = [&] {
        ++waits;
        EXPECT_EQ(write(ends[1], "f\n", 2), 2);
        close(ends[1]);
    };
    QueryReader reader(stream, '\n');
    EXPECT_EQ(reader.next(lastWords), "mp3");
    EXPECT_EQ(waits, 0);
    EXPECT_EQ(reader.next(lastWords), "pdf");
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(reader.next(lastWords), std::nullopt); // the end is there at once
    EXPECT_EQ(waits, 1);
    std::fclose(stream);
}

#ifndef _WIN32
TEST(QueryReader, AStreamThatCannotBeReadEndsTheQueriesAndSaysWhy)
{
    std::FILE* folder = std::fopen(std::filesystem::temp_directory_path().c_str(), "rb");
    ASSERT_TRUE(folder);
    QueryReader reader(folder, '\n');
    EXPECT_EQ(reader.next(), std::nullopt);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.error(), EISDIR);
    std::fclose(folder);
}
#endif

TEST(QueryReader, AQueryLongerThanAnyExtensionOrTypeEndsTheReading)
{
    const std::string longest(QueryReader::longestQuery, 'x');
    EXPECT_EQ(readAll(longest + "\nmp3", '\n'), (Queries{longest, "mp3"}));

    // Past the limit, with its end in sight or not: nothing more is read.
    for (const std::string& bytes : {longest + "x\nmp3\n", longest + longest}) {
        FileOf file(bytes);
        QueryReader reader(file.stream(), '\n');
        EXPECT_EQ(reader.next(), std::nullopt);
        EXPECT_TRUE(reader.failed());
        EXPECT_EQ(reader.next(), std::nullopt);
        EXPECT_NE(reader.reason().find("longer than 65536 bytes"), std::string::npos);
    }
}
