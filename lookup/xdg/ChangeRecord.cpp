#include "xdg/ChangeRecord.h"

#include "xdg/AtomicFile.h"

#include <glib.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace qimlar::xdg {

namespace {

// Values hold any bytes (paths need not be UTF-8, lines may hold anything GKeyFile accepts):
// every byte but printable ASCII is written %XX, and so is '%' itself.
std::string encoded(const std::string& bytes)
{
    std::string text;
    for (const unsigned char c : bytes) {
        if (c > 0x20 && c < 0x7f && c != '%') {
            text += static_cast<char>(c);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            text += escape;
        }
    }
    return text;
}

std::optional<std::string> decoded(const std::string& text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? g_ascii_xdigit_value(text[i + 1]) : -1;
        const int low = high >= 0 ? g_ascii_xdigit_value(text[i + 2]) : -1;
        if (low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

using KeyFile = std::unique_ptr<GKeyFile, decltype(&g_key_file_free)>;

void put(GKeyFile* file, const std::string& group, const char* key,
         const std::optional<std::string>& value)
{
    if (value)
        g_key_file_set_value(file, group.c_str(), key, encoded(*value).c_str());
}

// A value that is absent stays absent; one that cannot be decoded makes `broken` true.
std::optional<std::string> get(GKeyFile* file, const std::string& group, const char* key,
                               bool& broken)
{
    gchar* value = g_key_file_get_value(file, group.c_str(), key, nullptr);
    if (!value)
        return std::nullopt;
    auto bytes = decoded(value);
    g_free(value);
    broken = broken || !bytes;
    return bytes;
}

std::string keyGroup(std::size_t file, std::size_t key)
{
    return "File " + std::to_string(file) + " Key " + std::to_string(key);
}

std::string serialized(const RecordedChange& change)
{
    KeyFile file(g_key_file_new(), &g_key_file_free);
    g_key_file_set_value(file.get(), "Change", "Time", encoded(change.time).c_str());
    for (std::size_t f = 0; f < change.files.size(); ++f) {
        const ListFileChange& list = change.files[f];
        const std::string group = "File " + std::to_string(f);
        put(file.get(), group, "Path", list.path);
        g_key_file_set_boolean(file.get(), group.c_str(), "Created", list.created);
        for (std::size_t k = 0; k < list.keys.size(); ++k) {
            const KeyChange& key = list.keys[k];
            const std::string name = keyGroup(f, k);
            put(file.get(), name, "Group", key.group);
            put(file.get(), name, "Key", key.key);
            put(file.get(), name, "Before", key.before);
            put(file.get(), name, "After", key.after);
            put(file.get(), name, "BeforeLine", key.beforeLine);
            put(file.get(), name, "KeyBefore", key.keyBefore);
            g_key_file_set_boolean(file.get(), name.c_str(), "GroupAdded", key.groupAdded);
        }
    }
    gchar* data = g_key_file_to_data(file.get(), nullptr, nullptr);
    std::string text = data;
    g_free(data);
    return text;
}

Outcome<RecordedChange> parsed(const std::string& text, const std::string& path)
{
    KeyFile file(g_key_file_new(), &g_key_file_free);
    GError* error = nullptr;
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, &error)) {
        Failure failure{"cannot read the record " + path + ": " + error->message};
        g_error_free(error);
        return failure;
    }
    bool broken = false;
    RecordedChange change;
    change.time = get(file.get(), "Change", "Time", broken).value_or("");
    for (std::size_t f = 0;; ++f) {
        const std::string group = "File " + std::to_string(f);
        const auto path = get(file.get(), group, "Path", broken);
        if (!path)
            break;
        ListFileChange list{*path,
                            g_key_file_get_boolean(file.get(), group.c_str(), "Created", nullptr) !=
                                FALSE,
                            {}};
        for (std::size_t k = 0;; ++k) {
            const std::string name = keyGroup(f, k);
            const auto key = get(file.get(), name, "Key", broken);
            if (!key)
                break;
            list.keys.push_back(
                {get(file.get(), name, "Group", broken).value_or(""), *key,
                 get(file.get(), name, "Before", broken), get(file.get(), name, "After", broken),
                 get(file.get(), name, "BeforeLine", broken),
                 get(file.get(), name, "KeyBefore", broken),
                 g_key_file_get_boolean(file.get(), name.c_str(), "GroupAdded", nullptr) != FALSE});
        }
        change.files.push_back(std::move(list));
    }
    if (broken || change.files.empty())
        return Failure{"cannot read the record " + path + ": it is damaged"};
    return change;
}

// Changes are numbered from 1 up, the newest highest: "00000042.change".
std::optional<std::uint64_t> numberOf(const std::string& name)
{
    const std::string digits = name.substr(0, 8);
    if (name.size() != 15 || !name.ends_with(".change") ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoull(digits);
}

} // namespace

std::string recordFolder()
{
    const char* state = g_getenv("XDG_STATE_HOME");
    if (state && g_path_is_absolute(state))
        return std::string(state) + "/qimlar";
    return std::string(g_get_home_dir()) + "/.local/state/qimlar";
}

ChangeRecord::ChangeRecord(std::string folder) : folder_(std::move(folder)) {}

std::string ChangeRecord::lockPath() const
{
    return folder_ + "/changes.lock";
}

Outcome<std::optional<std::string>> ChangeRecord::newestFile() const
{
    std::error_code error;
    std::optional<std::uint64_t> newest;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error))
        if (const auto number = numberOf(entry.path().filename().string()))
            newest = std::max(newest.value_or(0), *number);
    if (error && error != std::errc::no_such_file_or_directory)
        return Failure{"cannot read the folder " + folder_ + ": " + error.message()};
    if (!newest)
        return std::optional<std::string>();
    char name[32];
    std::snprintf(name, sizeof name, "%08" PRIu64 ".change", *newest);
    return std::optional<std::string>(folder_ + "/" + name);
}

Status ChangeRecord::append(const RecordedChange& change) const
{
    const auto newest = newestFile();
    if (!newest)
        return Failure{newest.reason()};
    const std::uint64_t number =
        *newest ? *numberOf(std::filesystem::path(**newest).filename().string()) + 1 : 1;
    char name[32];
    std::snprintf(name, sizeof name, "%08" PRIu64 ".change", number);
    return replaceFile(folder_ + "/" + name, serialized(change));
}

Outcome<std::optional<RecordedChange>> ChangeRecord::newest() const
{
    const auto path = newestFile();
    if (!path)
        return Failure{path.reason()};
    if (!*path)
        return std::optional<RecordedChange>();
    const auto text = readIfPresent(**path);
    if (!text)
        return Failure{text.reason()};
    const auto change = parsed(text->value_or(""), **path);
    if (!change)
        return Failure{change.reason()};
    return std::optional<RecordedChange>(*change);
}

Status ChangeRecord::dropNewest() const
{
    const auto path = newestFile();
    if (!path)
        return Failure{path.reason()};
    if (!*path)
        return Done{};
    return removeFile(**path);
}

} // namespace qimlar::xdg
