#include "xdg/KnownTypes.h"

#include "xdg/AssociationLists.h"
#include "xdg/EntryFolders.h"
#include "xdg/Folders.h"

#include <algorithm>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <unordered_set>
#include <utility>
#include <vector>

namespace qimlar::xdg {

namespace {

bool databaseKnows(const std::string& type)
{
    // A batch asks about many types: the lists are read once, not at every query.
    static std::mutex lock;
    static std::vector<std::pair<std::string, struct stat>> readFrom;
    static std::unordered_set<std::string> known;
    const std::lock_guard held(lock);

    std::vector<std::pair<std::string, struct stat>> now;
    for (const char* list : {"types", "aliases"})
        for (std::string& file : mimeDatabaseFiles(list))
            if (struct stat info{}; ::stat(file.c_str(), &info) == 0)
                now.emplace_back(std::move(file), info);
    const bool unchanged =
        now.size() == readFrom.size() &&
        std::equal(now.begin(), now.end(), readFrom.begin(), [](const auto& a, const auto& b) {
            return a.first == b.first && sameFile(a.second, b.second);
        });
    if (!unchanged) {
        // "types" lists every type of a database, one a line; "aliases" starts each line with
        // another name for one of them.
        known.clear();
        for (const auto& [file, info] : now) {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);)
                known.insert(line.substr(0, line.find(' ')));
        }
        readFrom = std::move(now);
    }
    return known.count(type) != 0;
}

} // namespace

bool isKnownType(const std::string& type)
{
    return databaseKnows(type) || anyListNamesType(listFiles(), type) || anyEntryNamesType(type);
}

} // namespace qimlar::xdg
