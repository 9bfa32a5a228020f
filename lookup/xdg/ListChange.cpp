#include "xdg/ListChange.h"

#include "xdg/AssociationListText.h"
#include "xdg/AtomicFile.h"
#include "xdg/ChangeRecord.h"
#include "xdg/KeyFileCheck.h"
#include "xdg/ListLock.h"
#include "xdg/UnifiedDiff.h"

#include <glib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

namespace qimlar::xdg {

namespace {

std::string folderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

ChangeReport refused(const std::string& reason)
{
    return {ChangeStatus::Refused, reason, {}};
}

// The locks of one change, given back together when it is done.
class Locks
{
public:
    // Fails with the report to give; `makeFolder` for a list that is to be written.
    std::optional<ChangeReport> take(const std::string& lockPath, bool makeFolder,
                                     std::chrono::milliseconds wait)
    {
        const std::string folder = folderOf(lockPath);
        if (!makeFolder && !std::filesystem::is_directory(folder))
            return std::nullopt; // nothing there to guard, in a dry run
        if (const Status made = makeFolders(folder); !made)
            return refused(made.reason());
        held_.push_back(std::make_unique<ListLock>(lockPath));
        if (const Status taken = held_.back()->take(wait); !taken)
            return ChangeReport{held_.back()->wasBusy() ? ChangeStatus::Busy
                                                        : ChangeStatus::Refused,
                                taken.reason(),
                                {}};
        return std::nullopt;
    }

private:
    std::vector<std::unique_ptr<ListLock>> held_;
};

// A list's bytes now and after; no bytes after for a list to remove.
struct Rewrite
{
    std::string path;
    std::optional<std::string> before, after;
};

Status putInPlace(const std::string& path, const std::optional<std::string>& bytes)
{
    return bytes ? replaceFile(path, *bytes) : removeFile(path);
}

// Writes every list, or on a failure puts back those already written.
Status rewriteAll(const std::vector<Rewrite>& rewrites)
{
    for (std::size_t i = 0; i < rewrites.size(); ++i) {
        if (const Status written = putInPlace(rewrites[i].path, rewrites[i].after); !written) {
            for (std::size_t j = i; j-- > 0;)
                putInPlace(rewrites[j].path, rewrites[j].before);
            return written;
        }
    }
    return Done{};
}

Status undoRewrites(const std::vector<Rewrite>& rewrites)
{
    std::vector<Rewrite> back;
    for (const Rewrite& rewrite : rewrites)
        back.push_back({rewrite.path, rewrite.after, rewrite.before});
    return rewriteAll(back);
}

std::string shownValue(const std::optional<std::string>& value)
{
    return value ? "“" + *value + "”" : "nothing";
}

// One line a key: "[Default Applications] audio/mpeg: “vlc.desktop;” → “mpv.desktop;vlc.desktop;”".
std::string describe(const std::vector<ListFileChange>& files, bool undone)
{
    std::string text;
    for (const ListFileChange& file : files) {
        text += file.path + ":\n";
        for (const KeyChange& key : file.keys) {
            const auto& from = undone ? key.after : key.before;
            const auto& to = undone ? key.before : key.after;
            text += "  [" + key.group + "] " + key.key + ": " + shownValue(from) + " → " +
                    shownValue(to) + "\n";
        }
    }
    return text;
}

std::string now()
{
    GDateTime* time = g_date_time_new_now_utc();
    gchar* text = g_date_time_format_iso8601(time);
    std::string result = text;
    g_free(text);
    g_date_time_unref(time);
    return result;
}

struct ListTarget
{
    std::string path, target;
    ListKind kind;
};

// The lists by the file they end at, once each: a list that is a link to another is changed as
// that one, with all the groups either may hold.
Outcome<std::vector<ListTarget>> targetsOf(const std::vector<ListToChange>& lists)
{
    std::vector<ListTarget> targets;
    for (const ListToChange& list : lists) {
        const auto target = linkTarget(list.path);
        if (!target)
            return Failure{target.reason()};
        auto same = std::find_if(targets.begin(), targets.end(),
                                 [&](const ListTarget& t) { return t.target == *target; });
        if (same == targets.end())
            targets.push_back({list.path, *target, list.kind});
        else if (list.kind == ListKind::Associations)
            same->kind = ListKind::Associations;
    }
    return targets;
}

} // namespace

std::string configHome()
{
    const char* config = g_getenv("XDG_CONFIG_HOME");
    if (config && g_path_is_absolute(config))
        return config;
    return std::string(g_get_home_dir()) + "/.config";
}

std::vector<std::string> configHomeListNames()
{
    std::vector<std::string> names;
    const char* desktops = g_getenv("XDG_CURRENT_DESKTOP");
    g_auto(GStrv) split = g_strsplit(desktops ? desktops : "", ":", -1);
    for (gchar** name = split; *name; ++name) {
        // GIO skips a name that would lead out of the folder.
        if (!**name || std::strchr(*name, '/'))
            continue;
        g_autofree gchar* lower = g_ascii_strdown(*name, -1);
        names.push_back(std::string(lower) + "-mimeapps.list");
    }
    names.push_back("mimeapps.list");
    return names;
}

std::vector<ListToChange> listsToChange(const std::string& type)
{
    const std::string home = configHome();
    std::vector<ListToChange> lists;
    for (const std::string& name : configHomeListNames()) {
        const std::string path = home + "/" + name;
        if (name == "mimeapps.list") {
            lists.push_back({path, ListKind::Associations});
            continue;
        }
        const auto text = readIfPresent(path);
        if (text && *text && checkReadable(**text, path) &&
            AssociationListText(**text).value(defaultsGroup, type))
            lists.push_back({path, ListKind::DefaultsOnly});
    }
    return lists;
}

ChangeReport makeDefault(const std::vector<ListToChange>& lists, const DefaultRequest& request,
                         const ChangeOptions& options)
{
    const ChangeRecord record(options.recordFolder.empty() ? recordFolder() : options.recordFolder);
    Locks locks;
    if (!options.dryRun)
        if (auto failed = locks.take(record.lockPath(), true, options.lockWait))
            return *failed;
    const auto targets = targetsOf(lists);
    if (!targets)
        return refused(targets.reason());

    std::vector<Rewrite> rewrites;
    std::vector<ListOutcome> outcomes;
    RecordedChange change{now(), {}};
    std::string diff;
    for (const ListTarget& list : *targets) {
        if (auto failed = locks.take(list.target + ".lock", !options.dryRun, options.lockWait))
            return *failed;
        const auto text = readIfPresent(list.target);
        if (!text)
            return refused(text.reason());
        if (const Status readable = checkReadable(text->value_or(""), list.target); !readable)
            return refused(readable.reason());
        const auto edit = xdg::makeDefault(text->value_or(""), request, list.kind);
        if (!edit)
            return refused(edit.reason());
        if (edit->changes.empty())
            continue;
        const std::string listDiff = unifiedDiff(*text, edit->text, list.path);
        diff += listDiff;
        outcomes.push_back({list.path, listDiff, edit->text, edit->changes});
        rewrites.push_back({list.target, *text, edit->text});
        change.files.push_back({list.path, !text->has_value(), edit->changes});
    }
    if (rewrites.empty())
        return {ChangeStatus::Done,
                request.app + " is the default for " + request.type + " already\n",
                {}};
    if (options.dryRun)
        return {ChangeStatus::Done, diff, outcomes};
    if (const Status written = rewriteAll(rewrites); !written)
        return refused(written.reason());
    if (const Status recorded = record.append(change); !recorded) {
        undoRewrites(rewrites);
        return refused(recorded.reason() + "; so the lists were left as they were");
    }
    return {ChangeStatus::Done, describe(change.files, false), outcomes};
}

ChangeReport undoLastChange(const ChangeOptions& options)
{
    const ChangeRecord record(options.recordFolder.empty() ? recordFolder() : options.recordFolder);
    Locks locks;
    if (auto failed = locks.take(record.lockPath(), true, options.lockWait))
        return *failed;
    const auto newest = record.newest();
    if (!newest)
        return refused(newest.reason());
    if (!*newest)
        return refused("there is no change to undo\n");
    const RecordedChange& change = **newest;

    std::vector<Rewrite> rewrites;
    std::vector<ListOutcome> outcomes;
    for (const ListFileChange& file : change.files) {
        const auto target = linkTarget(file.path);
        if (!target)
            return refused(target.reason());
        if (auto failed = locks.take(*target + ".lock", true, options.lockWait))
            return *failed;
        const auto text = readIfPresent(*target);
        if (!text)
            return refused(text.reason());
        if (const auto changed = changedSince(text->value_or(""), file.keys))
            return refused("cannot undo the change of " + change.time + ": [" + changed->group +
                           "] " + changed->key + " in " + file.path +
                           " was changed since by another program\n");
        std::optional<std::string> reverted = revert(text->value_or(""), file.keys);
        if (file.created && reverted->empty())
            reverted.reset(); // the change made the list; it goes again
        rewrites.push_back({*target, *text, reverted});
        outcomes.push_back(
            {file.path, unifiedDiff(*text, reverted.value_or(""), file.path), reverted, file.keys});
    }
    if (const Status written = rewriteAll(rewrites); !written)
        return refused(written.reason());
    if (const Status dropped = record.dropNewest(); !dropped) {
        undoRewrites(rewrites);
        return refused(dropped.reason() + "; so the lists were left as they were");
    }
    return {ChangeStatus::Done,
            "undid the change of " + change.time + ":\n" + describe(change.files, true), outcomes};
}

} // namespace qimlar::xdg
