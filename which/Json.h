#pragma once

#include <string>
#include <string_view>

namespace qimlar::which {

// `bytes` as a JSON string, quotes included, valid whatever the bytes are: UTF-8 is kept, each
// byte that is not part of valid UTF-8 becomes a lone surrogate escape \udc80 to \udcff (the
// convention of Python's "surrogateescape", so the original bytes can be had back), and
// quotes, backslashes and control characters are escaped.
std::string jsonString(std::string_view bytes);

// The same for a text that may be empty: null when it is.
inline std::string jsonStringOrNull(std::string_view text)
{
    return text.empty() ? "null" : jsonString(text);
}

// `"key": value`, the value written already.
inline std::string jsonField(const char* key, const std::string& value)
{
    return std::string("\"") + key + "\": " + value;
}

} // namespace qimlar::which
