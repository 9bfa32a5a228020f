#pragma once

// Just enough JSON to read qimlar-which's answers back, strictly: null, booleans, strings,
// arrays and objects (no numbers: it writes none). Anything that is not valid JSON, raw bytes
// that are not UTF-8 included, reads as nothing.

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
    std::vector<std::pair<std::string, Json>> members; // in the document's order

    bool isNull() const { return kind == Kind::Null; }
    const Json& operator[](std::size_t i) const { return items.at(i); }
    const Json& operator[](std::string_view key) const
    {
        for (const auto& [name, value] : members)
            if (name == key)
                return value;
        static const Json missing = [] {
            Json none; // neither null nor a string: fails any check
            none.kind = Kind::Array;
            return none;
        }();
        return missing;
    }
    std::vector<std::string> keys() const
    {
        std::vector<std::string> names;
        for (const auto& member : members)
            names.push_back(member.first);
        return names;
    }

    static std::optional<Json> parse(std::string_view document)
    {
        Json value;
        if (!Json::value(document, value))
            return std::nullopt;
        skipSpace(document);
        return document.empty() ? std::optional<Json>(value) : std::nullopt;
    }

private:
    static void skipSpace(std::string_view& in)
    {
        while (!in.empty() && (in[0] == ' ' || in[0] == '\n' || in[0] == '\t' || in[0] == '\r'))
            in.remove_prefix(1);
    }
    static bool take(std::string_view& in, std::string_view word)
    {
        skipSpace(in);
        if (!in.starts_with(word))
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
            if (byte >= 0x80) {
                if (!utf8(in, out))
                    return false;
                continue;
            }
            if (byte < 0x20)
                return false;
            in.remove_prefix(1);
            if (byte != '\\') {
                out += static_cast<char>(byte);
                continue;
            }
            const std::string_view simple = "\"\"\\\\//b\bf\fn\nr\rt\t";
            if (in.empty())
                return false;
            if (const auto at = simple.find(in[0]); at != simple.npos && at % 2 == 0) {
                out += simple[at + 1];
                in.remove_prefix(1);
            } else if (in.size() >= 5 && in[0] == 'u') {
                const unsigned long point = std::stoul(std::string(in.substr(1, 4)), nullptr, 16);
                in.remove_prefix(5);
                if (point >= 0xDC80 && point <= 0xDCFF)
                    out += static_cast<char>(point - 0xDC00);
                else if (point < 0x80)
                    out += static_cast<char>(point);
                else
                    return false; // qimlar-which writes other letters as UTF-8
            } else {
                return false;
            }
        }
        return take(in, "\"");
    }

    static bool value(std::string_view& in, Json& out)
    {
        skipSpace(in);
        if (take(in, "null"))
            return true;
        if (take(in, "true") || take(in, "false")) {
            out.kind = Kind::Boolean;
            out.boolean = in.data()[-2] == 'u';
            return true;
        }
        if (in.starts_with("\"")) {
            out.kind = Kind::String;
            return string(in, out.text);
        }
        const bool object = take(in, "{");
        if (!object && !take(in, "["))
            return false;
        out.kind = object ? Kind::Object : Kind::Array;
        if (take(in, object ? "}" : "]"))
            return true;
        do {
            Json item;
            std::string key;
            if (object && !(string(in, key) && take(in, ":")))
                return false;
            if (!value(in, item))
                return false;
            if (object)
                out.members.emplace_back(key, std::move(item));
            else
                out.items.push_back(std::move(item));
        } while (take(in, ","));
        return take(in, object ? "}" : "]");
    }
};
