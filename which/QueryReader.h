#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace qimlar::which {

// The queries of a stream, one per line or, with '\0' as the separator, NUL-separated. A last
// query without its separator counts; a separator at the very end adds no empty query. On
// Windows a line's trailing CR goes (no name ends in one), and so does a UTF-8 byte-order mark
// before the first query.
class QueryReader
{
public:
    QueryReader(std::FILE* stream, char separator) : stream_(stream), separator_(separator) {}

    // The next query, or nothing at the end of the stream or when it could not be read.
    std::optional<std::string> next();
    bool failed() const { return std::ferror(stream_) != 0; }

private:
    std::string finished(std::string query);

    std::FILE* stream_;
    char separator_;
    bool first_ = true;
};

} // namespace qimlar::which
