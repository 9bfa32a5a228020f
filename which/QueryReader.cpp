#include "QueryReader.h"

#include "Console.h"

#include <cerrno>
#include <cstring>

namespace qimlar::which {

std::optional<std::string> QueryReader::next(const std::function<void()>& beforeWaiting)
{
    while (!tooLong_) {
        const auto end = buffer_.find(separator_, start_);
        if ((end == std::string::npos ? buffer_.size() : end) - start_ > longestQuery) {
            tooLong_ = true;
            break;
        }
        if (end != std::string::npos) {
            std::string query = buffer_.substr(start_, end - start_);
            start_ = end + 1;
            return finished(std::move(query));
        }
        if (ended_ || error_ != 0) {
            // A query cut short by a read error is no query.
            if (start_ == buffer_.size() || error_ != 0)
                return std::nullopt;
            std::string query = buffer_.substr(start_);
            start_ = buffer_.size();
            return finished(std::move(query));
        }
        buffer_.erase(0, start_);
        start_ = 0;
        if (beforeWaiting && !console::readyToRead(stream_))
            beforeWaiting();
        char chunk[65536];
        const long read = console::readSome(stream_, chunk, sizeof chunk);
        if (read < 0)
            error_ = errno != 0 ? errno : EIO;
        else if (read == 0)
            ended_ = true;
        else
            buffer_.append(chunk, static_cast<std::size_t>(read));
    }
    return std::nullopt;
}

std::string QueryReader::reason() const
{
    if (tooLong_)
        return "a query is longer than " + std::to_string(longestQuery) +
               " bytes, longer than any extension or type";
    return std::strerror(error_);
}

std::string QueryReader::finished(std::string query)
{
#ifdef _WIN32
    if (separator_ == '\n' && query.ends_with('\r'))
        query.pop_back();
    if (first_ && query.starts_with("\xEF\xBB\xBF"))
        query.erase(0, 3);
#endif
    first_ = false;
    return query;
}

} // namespace qimlar::which
