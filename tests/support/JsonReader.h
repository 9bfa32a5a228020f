#pragma once

// Just enough JSON to read qimlar-which's answers back, strictly: null, booleans, strings,
// arrays and objects (it writes no numbers), and only the escapes it writes. Anything else,
// raw bytes that are not UTF-8 included, reads as nothing.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct Json
{
    enum class Kind { Null, Boolean, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    // A string's bytes: its UTF-8, with each lone \udc80-\udcff turned back into byte 80-ff.
    std::string text;
    std::vector<Json> items;
    // An object's members in the document's order: names[i] names values[i]. (A vector of
    // pairs holding Json inside Json is refused by clang 14 with libstdc++ 12.)
    std::vector<std::string> names;
    std::vector<Json> values;

    const Json& operator[](std::size_t i) const { return items.at(i); }
    const Json& operator[](std::string_view key) const
    {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == key)
                return values[i];
        static const Json missing{Kind::Array, false, {}, {}, {}, {}}; // fails any check of a value
        return missing;
    }
    const std::vector<std::string>& keys() const { return names; }

    static std::optional<Json> parse(std::string_view document)
    {
        Json value;
        if (!read(document, value) || take(document, "") || !document.empty())
            return std::nullopt;
        return value;
    }

private:
    // Whether `in` goes on, after white space, with `word`, which is then taken. The empty word
    // takes only the white space and says false.
    static bool take(std::string_view& in, std::string_view word)
    {
        while (!in.empty() && (in[0] == ' ' || in[0] == '\n' || in[0] == '\r'))
            in.remove_prefix(1);
        if (word.empty() || !in.starts_with(word))
            return false;
        in.remove_prefix(word.size());
        return true;
    }

    // A raw UTF-8 sequence, decoded to check it: no overlong form, surrogate or code point
    // past U+10FFFF.
    static bool utf8(std::string_view& in, std::string& out)
    {
        const auto lead = static_cast<unsigned char>(in[0]);
        const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (size == 0 || in.size() < size)
            return false;
        unsigned long point = lead & (0x3F >> (size - 1));
        for (std::size_t i = 1; i < size; ++i) {
            if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80)
                return false;
            point = point << 6 | (static_cast<unsigned char>(in[i]) & 0x3F);
        }
        const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < least[size] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000))
            return false;
        out.append(in.substr(0, size));
        in.remove_prefix(size);
        return true;
    }

    static bool string(std::string_view& in, std::string& out)
    {
        if (!take(in, "\""))
            return false;
        while (!in.empty() && in[0] != '"') {
            const auto byte = static_cast<unsigned char>(in[0]);
            if (byte >= 0x80 && !utf8(in, out))
                return false;
            if (byte >= 0x80)
                continue;
            in.remove_prefix(1);
            if (byte < 0x20)
                return false;
            if (byte != '\\') {
                out += static_cast<char>(byte);
            } else if (take(in, "\"") || take(in, "\\")) {
                out += in.data()[-1];
            } else if (in.starts_with("n") || in.starts_with("t")) {
                out += in[0] == 'n' ? '\n' : '\t';
                in.remove_prefix(1);
            } else if (in.starts_with("u00") || in.starts_with("udc")) {
                const auto point = std::stoul(std::string(in.substr(1, 4)), nullptr, 16);
                if (point >= 0x80 && point < 0xDC80)
                    return false; // such letters are written as UTF-8
                out += static_cast<char>(point & 0xFF);
                in.remove_prefix(5);
            } else {
                return false;
            }
        }
        return take(in, "\"");
    }

    static bool read(std::string_view& in, Json& out)
    {
        if (take(in, "null"))
            return true;
        if (take(in, "true") || take(in, "false")) {
            out.kind = Kind::Boolean;
            out.boolean = in.data()[-2] == 'u';
            return true;
        }
        out.kind = Kind::String;
        if (take(in, "") || in.starts_with("\""))
            return string(in, out.text);
        const bool object = take(in, "{");
        if (!object && !take(in, "["))
            return false;
        out.kind = object ? Kind::Object : Kind::Array;
        if (take(in, object ? "}" : "]"))
            return true;
        do {
            Json item;
            std::string key;
            if ((object && !(string(in, key) && take(in, ":"))) || !read(in, item))
                return false;
            if (object)
                out.names.push_back(std::move(key));
            (object ? out.values : out.items).push_back(std::move(item));
        } while (take(in, ","));
        return take(in, object ? "}" : "]");
    }
};
