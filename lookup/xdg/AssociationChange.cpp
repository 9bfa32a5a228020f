#include "xdg/AssociationChange.h"

#include "xdg/AssociationListText.h"

#include <glib.h>

#include <algorithm>

namespace qimlar::xdg {

namespace {

// A MIME type as RFC 6838 names them: two names of letters, digits and !#$&-^_.+ around a slash.
bool isMimeType(const std::string& type)
{
    const auto nameChar = [](char c) {
        return g_ascii_isalnum(c) || std::string_view("!#$&-^_.+").find(c) != std::string::npos;
    };
    const std::size_t slash = type.find('/');
    return slash != std::string::npos && slash > 0 && slash + 1 < type.size() &&
           std::count(type.begin(), type.end(), '/') == 1 && g_ascii_isalnum(type[0]) &&
           g_ascii_isalnum(type[slash + 1]) &&
           std::all_of(type.begin(), type.end(), [&](char c) { return c == '/' || nameChar(c); });
}

// A desktop file's name that stands in a list as it is: no escapes, no separator, no line break.
bool isListableApp(const std::string& app)
{
    const std::string suffix = ".desktop";
    return app.size() > suffix.size() && app.ends_with(suffix) && app[0] != ' ' &&
           g_utf8_validate(app.data(), static_cast<gssize>(app.size()), nullptr) &&
           std::none_of(app.begin(), app.end(), [](char c) {
               return static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == ';' || c == '\\';
           });
}

// The items of a string list as written, split where GKeyFile splits them (at a ';' that no
// backslash escapes); empty ones left out.
std::vector<std::string> rawItems(const std::string& value)
{
    std::vector<std::string> items;
    std::string item;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            item += value.substr(i++, 2);
        } else if (value[i] == ';') {
            if (!item.empty())
                items.push_back(item);
            item.clear();
        } else {
            item += value[i];
        }
    }
    if (!item.empty())
        items.push_back(item);
    return items;
}

// What an item means, its escapes read as GKeyFile reads them.
std::string unescaped(const std::string& item)
{
    std::string result;
    for (std::size_t i = 0; i < item.size(); ++i) {
        if (item[i] != '\\' || i + 1 == item.size()) {
            result += item[i];
            continue;
        }
        const char c = item[++i];
        result += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    }
    return result;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string value;
    for (const std::string& item : items)
        value += item + ";";
    return value;
}

// The items of `value` other than `app`.
std::vector<std::string> without(const std::optional<std::string>& value, const std::string& app)
{
    std::vector<std::string> items = rawItems(value.value_or(""));
    std::erase_if(items, [&](const std::string& item) { return unescaped(item) == app; });
    return items;
}

class Editor
{
public:
    explicit Editor(const std::string& text) : list_(text) {}

    std::optional<std::string> value(const std::string& group, const std::string& key) const
    {
        return list_.value(group, key);
    }

    void change(const std::string& group, const std::string& key,
                const std::optional<std::string>& after)
    {
        KeyChange change{group,
                         key,
                         list_.value(group, key),
                         after,
                         list_.line(group, key),
                         list_.keyBefore(group, key),
                         !list_.hasGroup(group)};
        if (change.before == after)
            return;
        if (after)
            list_.set(group, key, *after);
        else
            list_.remove(group, key);
        changes_.push_back(std::move(change));
    }

    ListEdit result() const { return {list_.text(), changes_}; }

private:
    AssociationListText list_;
    std::vector<KeyChange> changes_;
};

} // namespace

Outcome<ListEdit> makeDefault(const std::string& text, const DefaultRequest& request, ListKind kind)
{
    const std::string& type = request.type;
    const std::string& app = request.app;
    if (!isMimeType(type))
        return Failure{"“" + type + "” is not a MIME type"};
    if (!isListableApp(app))
        return Failure{"“" + app + "” is not the name of a desktop file (NAME.desktop)"};

    Editor editor(text);
    std::vector<std::string> defaults = without(editor.value(defaultsGroup, type), app);
    defaults.insert(defaults.begin(), app);
    editor.change(defaultsGroup, type, joined(defaults));
    if (kind == ListKind::DefaultsOnly)
        return editor.result();

    const auto removed = editor.value(removedGroup, type);
    const std::vector<std::string> stillRemoved = without(removed, app);
    if (removed && stillRemoved.size() != rawItems(*removed).size())
        editor.change(removedGroup, type,
                      stillRemoved.empty() ? std::nullopt
                                           : std::optional<std::string>(joined(stillRemoved)));

    const auto added = editor.value(addedGroup, type);
    std::vector<std::string> associated = without(added, app);
    if (!request.entryListsType && associated.size() == rawItems(added.value_or("")).size()) {
        associated.push_back(app);
        editor.change(addedGroup, type, joined(associated));
    }
    return editor.result();
}

std::optional<KeyChange> changedSince(const std::string& text,
                                      const std::vector<KeyChange>& changes)
{
    const AssociationListText list(text);
    for (const KeyChange& change : changes)
        if (list.value(change.group, change.key) != change.after)
            return change;
    return std::nullopt;
}

std::string revert(const std::string& text, const std::vector<KeyChange>& changes)
{
    AssociationListText list(text);
    for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
        if (change->beforeLine)
            list.setLine(change->group, change->key, *change->beforeLine, change->keyBefore);
        else
            list.remove(change->group, change->key);
        if (change->groupAdded)
            list.removeEmptyGroup(change->group);
    }
    return list.text();
}

} // namespace qimlar::xdg
