#pragma once

#include <string>
#include <string_view>

namespace qimlar::which {

// `bytes` as a JSON string, quotes included, valid whatever the bytes are: UTF-8 is kept, each
// byte that is not part of valid UTF-8 becomes a lone surrogate escape \udc80 to \udcff (the
// convention of Python's "surrogateescape", so the original bytes can be had back), and
// quotes, backslashes and control characters are escaped.
std::string jsonString(std::string_view bytes);

} // namespace qimlar::which
