#include "xdg/AssociationListText.h"

namespace qimlar::xdg {

namespace {

// GLib's g_ascii_isspace.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

AssociationListText::AssociationListText(const std::string& text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines_.push_back(parseLine(text.substr(start), ""));
            break;
        }
        // GKeyFile takes one carriage return before the newline as part of the line's end.
        const bool crlf = end > start && text[end - 1] == '\r';
        const std::size_t textEnd = crlf ? end - 1 : end;
        lines_.push_back(parseLine(text.substr(start, textEnd - start), crlf ? "\r\n" : "\n"));
        if (newline_.empty())
            newline_ = lines_.back().ending;
        start = end + 1;
    }
    if (newline_.empty())
        newline_ = "\n";
}

AssociationListText::Line AssociationListText::parseLine(std::string text, std::string ending)
{
    Line line;
    line.text = std::move(text);
    line.ending = std::move(ending);
    std::size_t at = 0;
    while (at < line.text.size() && isSpace(line.text[at]))
        ++at;
    const std::string_view rest = std::string_view(line.text).substr(at);
    if (rest.empty() || rest[0] == '#')
        return line;
    if (rest[0] == '[') {
        // Spaces and tabs may follow the closing bracket, nothing else.
        const std::size_t close = rest.find(']');
        if (close != std::string_view::npos &&
            rest.find_first_not_of(" \t", close + 1) == std::string_view::npos) {
            line.kind = Kind::Group;
            line.name = rest.substr(1, close - 1);
        }
        return line;
    }
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return line;
    std::size_t keyEnd = equals;
    while (keyEnd > 0 && isSpace(rest[keyEnd - 1]))
        --keyEnd;
    std::size_t valueStart = equals + 1;
    while (valueStart < rest.size() && isSpace(rest[valueStart]))
        ++valueStart;
    line.kind = Kind::Key;
    line.name = rest.substr(0, keyEnd);
    line.value = rest.substr(valueStart);
    return line;
}

std::string AssociationListText::text() const
{
    std::string result;
    for (const Line& line : lines_)
        result += line.text + line.ending;
    return result;
}

std::vector<std::string> AssociationListText::groupOfLines() const
{
    std::vector<std::string> groups;
    std::string current;
    for (const Line& line : lines_) {
        if (line.kind == Kind::Group)
            current = line.name;
        groups.push_back(current);
    }
    return groups;
}

std::optional<std::size_t> AssociationListText::lastKeyLine(const std::string& group,
                                                            const std::string& key) const
{
    const auto groups = groupOfLines();
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Key && lines_[i].name == key && groups[i] == group)
            found = i;
    return found;
}

std::optional<std::string> AssociationListText::value(const std::string& group,
                                                      const std::string& key) const
{
    if (const auto at = lastKeyLine(group, key))
        return lines_[*at].value;
    return std::nullopt;
}

std::optional<std::string> AssociationListText::line(const std::string& group,
                                                     const std::string& key) const
{
    if (const auto at = lastKeyLine(group, key))
        return lines_[*at].text;
    return std::nullopt;
}

std::optional<std::string> AssociationListText::keyBefore(const std::string& group,
                                                          const std::string& key) const
{
    const auto at = lastKeyLine(group, key);
    if (!at)
        return std::nullopt;
    for (std::size_t i = *at; i-- > 0;) {
        if (lines_[i].kind == Kind::Group)
            break;
        if (lines_[i].kind == Kind::Key)
            return lines_[i].name;
    }
    return std::string();
}

bool AssociationListText::hasGroup(const std::string& group) const
{
    for (const Line& line : lines_)
        if (line.kind == Kind::Group && line.name == group)
            return true;
    return false;
}

bool AssociationListText::hasKeys(const std::string& group) const
{
    const auto groups = groupOfLines();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::Key && groups[i] == group)
            return true;
    return false;
}

// After the group's last key line, or after its last header when it has no key.
std::optional<std::size_t> AssociationListText::insertionPoint(const std::string& group) const
{
    const auto groups = groupOfLines();
    std::optional<std::size_t> header, key;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (groups[i] != group)
            continue;
        if (lines_[i].kind == Kind::Group)
            header = i + 1;
        else if (lines_[i].kind == Kind::Key)
            key = i + 1;
    }
    return key ? key : header;
}

// A line added at the very end takes over the last line's missing ending, so that a file without
// a final newline keeps that, and taking the line out again gives the old bytes back.
void AssociationListText::insertLine(std::size_t at, const std::string& text)
{
    Line added = parseLine(text, newline_);
    if (at == lines_.size() && at > 0 && lines_.back().ending.empty()) {
        lines_.back().ending = newline_;
        added.ending.clear();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
}

void AssociationListText::eraseLine(std::size_t at)
{
    if (lines_[at].ending.empty() && at > 0)
        lines_[at - 1].ending.clear();
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
}

// Always one blank line before it, even after a blank line, so that removeEmptyGroup() takes
// out exactly what this put in.
void AssociationListText::appendGroup(const std::string& group)
{
    if (!lines_.empty())
        insertLine(lines_.size(), "");
    insertLine(lines_.size(), "[" + group + "]");
}

void AssociationListText::set(const std::string& group, const std::string& key,
                              const std::string& value)
{
    setLine(group, key, key + "=" + value);
}

void AssociationListText::setLine(const std::string& group, const std::string& key,
                                  const std::string& text, const std::optional<std::string>& after)
{
    if (const auto at = lastKeyLine(group, key)) {
        lines_[*at] = parseLine(text, lines_[*at].ending);
        return;
    }
    if (after) {
        if (after->empty()) {
            for (std::size_t i = 0; i < lines_.size(); ++i)
                if (lines_[i].kind == Kind::Group && lines_[i].name == group)
                    return insertLine(i + 1, text);
        } else if (const auto at = lastKeyLine(group, *after)) {
            return insertLine(*at + 1, text);
        }
    }
    if (!insertionPoint(group))
        appendGroup(group);
    insertLine(*insertionPoint(group), text);
}

void AssociationListText::remove(const std::string& group, const std::string& key)
{
    while (const auto at = lastKeyLine(group, key))
        eraseLine(*at);
}

void AssociationListText::removeEmptyGroup(const std::string& group)
{
    if (hasKeys(group))
        return;
    const auto blank = [this](std::size_t i) {
        return lines_[i].kind == Kind::Other &&
               lines_[i].text.find_first_not_of(" \t") == std::string::npos;
    };
    for (std::size_t i = lines_.size(); i-- > 0;) {
        if (lines_[i].kind != Kind::Group || lines_[i].name != group)
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && blank(end))
            ++end;
        if (end < lines_.size() && lines_[end].kind != Kind::Group)
            continue; // a comment of someone's own stays, and its group with it
        eraseLine(i);
        if (i > 0 && blank(i - 1))
            eraseLine(i - 1);
    }
}

} // namespace qimlar::xdg
