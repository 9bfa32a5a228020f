#include "QueryReader.h"

namespace qimlar::which {

std::optional<std::string> QueryReader::next()
{
    std::string query;
    for (int byte = std::getc(stream_); byte != EOF; byte = std::getc(stream_)) {
        if (static_cast<char>(byte) == separator_)
            return finished(std::move(query));
        query += static_cast<char>(byte);
    }
    // A query cut short by a read error is no query.
    if (query.empty() || failed())
        return std::nullopt;
    return finished(std::move(query));
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
