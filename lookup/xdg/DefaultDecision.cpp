#include "xdg/DefaultDecision.h"

#include "xdg/AssociationLists.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

namespace qimlar::xdg {

namespace {

constexpr const char* entryGroup = "Desktop Entry";

// For each type, nearest first: the defaults of every file before the associations of any.
using Groups = std::vector<std::string_view>;
const std::vector<Groups> rounds{{defaultsGroup}, {addedGroup, cacheGroup}};

// The entry's own MimeType line, as namings of the entry by itself.
std::vector<Naming> entryTypes(const std::string& entryFile)
{
    std::vector<Naming> namings;
    g_autoptr(GKeyFile) keys = g_key_file_new();
    if (!g_key_file_load_from_file(keys, entryFile.c_str(), G_KEY_FILE_NONE, nullptr))
        return namings;
    g_auto(GStrv) types =
        g_key_file_get_string_list(keys, entryGroup, "MimeType", nullptr, nullptr);
    for (gchar** type = types; type && *type; ++type)
        namings.push_back({entryFile, "MimeType", *type});
    return namings;
}

// How many others of `types` `type` is a kind of: the more, the nearer it is.
long depthAmong(const std::string& type, const std::vector<std::string>& types)
{
    return std::count_if(types.begin(), types.end(), [&](const std::string& other) {
        return other != type && g_content_type_is_a(type.c_str(), other.c_str());
    });
}

// `type` and those of its parents that some naming names, nearest first, as GIO tries them.
std::vector<std::string> typeAndParents(const std::string& type, const std::vector<Naming>& namings)
{
    std::vector<std::string> parents;
    for (const Naming& naming : namings) {
        const char* named = naming.type.c_str();
        if (!g_content_type_equals(named, type.c_str()) &&
            g_content_type_is_a(type.c_str(), named) &&
            std::find(parents.begin(), parents.end(), naming.type) == parents.end())
            parents.push_back(naming.type);
    }
    std::vector<std::pair<long, std::string>> ranked;
    for (const std::string& parent : parents)
        ranked.emplace_back(depthAmong(parent, parents), parent);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::string> candidates{type};
    for (auto& [depth, parent] : ranked)
        candidates.push_back(std::move(parent));
    return candidates;
}

Decision decisionOf(const Naming& naming, const std::string& askedType)
{
    return {naming.file, naming.group, naming.type,
            !g_content_type_equals(naming.type.c_str(), askedType.c_str())};
}

// The list files as the walk finds them, each read once, for what they say of the types it
// passes.
class ListTexts
{
public:
    // The file's keys; nothing when it cannot be read.
    GKeyFile* keysOf(const std::string& path)
    {
        auto [at, added] = keys_.try_emplace(path, nullptr, &g_key_file_free);
        if (added) {
            GKeyFile* keys = g_key_file_new();
            if (g_key_file_load_from_file(keys, path.c_str(), G_KEY_FILE_NONE, nullptr))
                at->second.reset(keys);
            else
                g_key_file_free(keys);
        }
        return at->second.get();
    }

    std::optional<std::string> line(const std::string& path, const char* group,
                                    const std::string& type)
    {
        GKeyFile* keys = keysOf(path);
        g_autofree gchar* value =
            keys ? g_key_file_get_value(keys, group, type.c_str(), nullptr) : nullptr;
        return value ? std::optional<std::string>(value) : std::nullopt;
    }

    // The entries the line names that are installed.
    std::vector<std::string> installed(const std::string& path, const char* group,
                                       const std::string& type)
    {
        std::vector<std::string> ids;
        g_auto(GStrv) named =
            g_key_file_get_string_list(keysOf(path), group, type.c_str(), nullptr, nullptr);
        for (gchar** id = named; id && *id; ++id) {
            g_autoptr(GDesktopAppInfo) entry = g_desktop_app_info_new(*id);
            if (entry)
                ids.emplace_back(*id);
        }
        return ids;
    }

private:
    std::map<std::string, std::unique_ptr<GKeyFile, decltype(&g_key_file_free)>> keys_;
};

// What `file` says of `type` in the groups of this round, it having named nothing that decided.
void pass(DecisionWalk& walk, ListTexts& texts, const ListFile& file, const Groups& groups,
          const std::string& type, int round)
{
    if (!texts.keysOf(file.path))
        return;
    for (const char* group : file.groups) {
        if (std::find(groups.begin(), groups.end(), group) == groups.end())
            continue;
        PassedList passed{file.path, group, type, round, texts.line(file.path, group, type), {}};
        if (passed.line)
            passed.installed = texts.installed(file.path, group, type);
        walk.passed.push_back(std::move(passed));
    }
}

const Naming* namingFor(const std::vector<Naming>& namings, const ListFile& file,
                        const Groups& groups, const std::string& type)
{
    for (const Naming& naming : namings) {
        if (naming.file == file.path &&
            std::find(groups.begin(), groups.end(), naming.group) != groups.end() &&
            g_content_type_equals(naming.type.c_str(), type.c_str()))
            return &naming;
    }
    return nullptr;
}

// GIO's walk through `files` for `type` and its parents, to the first of `namings`; with
// `texts`, what every list passed over says is kept.
DecisionWalk walkLists(const std::string& type, const std::string& desktopId,
                       const std::vector<ListFile>& files, const std::vector<Naming>& namings,
                       ListTexts* texts)
{
    DecisionWalk walk;
    walk.type = type;
    walk.desktopId = desktopId;
    int round = 0;
    for (const std::string& candidate : typeAndParents(type, namings)) {
        for (const Groups& groups : rounds) {
            for (const ListFile& file : files) {
                if (const Naming* naming = namingFor(namings, file, groups, candidate)) {
                    walk.decision = decisionOf(*naming, type);
                    walk.decidingRound = round;
                    if (texts)
                        walk.decidingLine = texts->line(naming->file, naming->group, naming->type)
                                                .value_or(desktopId);
                    return walk;
                }
                if (texts)
                    pass(walk, *texts, file, groups, candidate, round);
            }
            ++round;
        }
    }
    return walk;
}

// GIO reads no MimeType line itself; where nothing registered the entry, its own line says
// which types it opens.
std::optional<Decision> byOwnLine(const std::string& type, const std::string& entryFile)
{
    const std::vector<Naming> own = entryTypes(entryFile);
    for (const std::string& candidate : typeAndParents(type, own)) {
        for (const Naming& naming : own) {
            if (g_content_type_equals(naming.type.c_str(), candidate.c_str()))
                return decisionOf(naming, type);
        }
    }
    return std::nullopt;
}

// The walk with every list read; `desktopId` empty looks for no entry.
DecisionWalk toldWalk(const std::string& type, const std::string& desktopId)
{
    const std::vector<ListFile> files = listFiles();
    const std::vector<Naming> namings =
        desktopId.empty() ? std::vector<Naming>{} : namingsOf(files, desktopId);
    ListTexts texts;
    DecisionWalk walk = walkLists(type, desktopId, files, namings, &texts);
    walk.listsLookedFor = files.size();
    walk.listsRead = std::count_if(files.begin(), files.end(),
                                   [&](const ListFile& file) { return texts.keysOf(file.path); });
    return walk;
}

} // namespace

std::string Decision::describe() const
{
    return throughParent ? file + " (for the parent type " + type + ")" : file;
}

std::optional<Decision> findDecision(const std::string& type, const std::string& desktopId,
                                     const std::string& entryFile)
{
    const std::vector<ListFile> files = listFiles();
    const DecisionWalk walk =
        walkLists(type, desktopId, files, namingsOf(files, desktopId), nullptr);
    return walk.decision ? walk.decision : byOwnLine(type, entryFile);
}

DecisionWalk walkToDecision(const std::string& type, const std::string& desktopId,
                            const std::string& entryFile)
{
    DecisionWalk walk = toldWalk(type, desktopId);
    if (!walk.decision)
        walk.decision = byOwnLine(type, entryFile);
    return walk;
}

DecisionWalk walkThroughLists(const std::string& type)
{
    return toldWalk(type, "");
}

} // namespace qimlar::xdg
