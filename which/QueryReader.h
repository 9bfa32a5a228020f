#pragma once

#include <cstdio>
#include <functional>
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
    // `beforeWaiting` runs first when no whole query is at hand and the stream has nothing
    // ready: the read may then wait for its writer as long as that takes.
    // A query longer than `longestQuery` ends the reading there: the rest of the stream is
    // never held in memory.
    std::optional<std::string> next(const std::function<void()>& beforeWaiting = {});
    bool failed() const { return error_ != 0 || tooLong_; }
    // Why the reading failed: the system's reason, or that a query was too long.
    std::string reason() const;
    // The system's error number of the failed read; 0 for a query too long.
    int error() const { return error_; }

    // Longer than any extension or MIME type can be.
    static constexpr std::size_t longestQuery = 65536;

private:
    std::string finished(std::string query);

    std::FILE* stream_;
    char separator_;
    std::string buffer_;
    std::size_t start_ = 0; // where the next query begins in buffer_
    bool ended_ = false;
    int error_ = 0;
    bool tooLong_ = false;
    bool first_ = true;
};

} // namespace qimlar::which
