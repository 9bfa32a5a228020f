#include "Json.h"

#include <cstdio>

namespace qimlar::which {

namespace {

// The length of the valid UTF-8 sequence that `bytes` starts with, or 0 when it starts with
// none: overlong forms, surrogates and code points past U+10FFFF are no valid UTF-8.
std::size_t validSequence(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

std::string escaped(const char* prefix, unsigned char byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "%s%02x", prefix, byte);
    return text;
}

} // namespace

std::string jsonString(std::string_view bytes)
{
    std::string json = "\"";
    json.reserve(bytes.size() + 2);
    while (!bytes.empty()) {
        const auto byte = static_cast<unsigned char>(bytes[0]);
        std::size_t length = validSequence(bytes);
        if (length == 0) {
            json += escaped("\\udc", byte);
            length = 1;
        } else if (length > 1) {
            json.append(bytes.substr(0, length));
        } else if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte == '\n') {
            json += "\\n";
        } else if (byte == '\t') {
            json += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            json += escaped("\\u00", byte);
        } else {
            json += static_cast<char>(byte);
        }
        bytes.remove_prefix(length);
    }
    return json + '"';
}

} // namespace qimlar::which
