#pragma once

// The text of an association list (mimeapps.list and its kin) as lines that keep their own bytes,
// read the way GKeyFile reads them, so that a change rewrites the lines it means to change and
// nothing else: comments, blank lines, other groups and keys, their order and line endings stay.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qimlar::xdg {

class AssociationListText
{
public:
    // Any text; it should have passed checkReadable() first, for lines GKeyFile would refuse
    // are kept but mean nothing here.
    explicit AssociationListText(const std::string& text);

    std::string text() const;

    // The value GKeyFile gives for the key, as written (escapes kept): of a key named twice,
    // the last; of a group named twice, both parts count as one group.
    std::optional<std::string> value(const std::string& group, const std::string& key) const;
    // The whole line of that key, without its ending.
    std::optional<std::string> line(const std::string& group, const std::string& key) const;
    // The key whose line comes just before this key's in its group; empty when it comes first.
    std::optional<std::string> keyBefore(const std::string& group, const std::string& key) const;
    bool hasGroup(const std::string& group) const;
    bool hasKeys(const std::string& group) const;

    // Replaces the key's line in place; a new key goes after its group's last key line, or after
    // the group's line, and a missing group is added at the end after a blank line.
    void set(const std::string& group, const std::string& key, const std::string& value);
    // As set(), with the whole line given; a new key goes after the key `after` names when that
    // key is there, first in its group when `after` is empty.
    void setLine(const std::string& group, const std::string& key, const std::string& line,
                 const std::optional<std::string>& after = std::nullopt);
    // Takes out every line of the key, so that no earlier one of the same name shows again.
    void remove(const std::string& group, const std::string& key);
    // Takes out a group that holds no key any more and no line but blank ones, with the blank
    // line set() put before it.
    void removeEmptyGroup(const std::string& group);

private:
    enum class Kind { Other, Group, Key };
    struct Line
    {
        std::string text;   // without its ending
        std::string ending; // "\n", "\r\n" or, on a last line, nothing
        Kind kind = Kind::Other;
        std::string name; // the group's or the key's
        std::string value;
    };

    static Line parseLine(std::string text, std::string ending);
    // The group each line belongs to ("" before the first group).
    std::vector<std::string> groupOfLines() const;
    std::optional<std::size_t> lastKeyLine(const std::string& group, const std::string& key) const;
    std::optional<std::size_t> insertionPoint(const std::string& group) const;
    void insertLine(std::size_t at, const std::string& text);
    void eraseLine(std::size_t at);
    void appendGroup(const std::string& group);

    std::vector<Line> lines_;
    std::string newline_; // the file's own: that of its first line that has one
};

} // namespace qimlar::xdg
