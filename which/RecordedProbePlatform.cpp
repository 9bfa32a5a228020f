#include "RecordedProbePlatform.h"

#include "Console.h"

namespace qimlar::which {

// Each change and its record happen together: an ending in between would delete the name the
// probe no longer has, or leave one it just got.

Outcome<std::string> RecordedProbePlatform::createUniqueFile(const std::string& folder,
                                                             const std::string& prefix)
{
    console::ProbeChange change;
    auto created = platform_.createUniqueFile(folder, prefix);
    if (created)
        change.record(*created);
    return created;
}

Status RecordedProbePlatform::renameNoReplace(const std::string& from, const std::string& to)
{
    console::ProbeChange change;
    auto renamed = platform_.renameNoReplace(from, to);
    if (renamed)
        change.record(to);
    return renamed;
}

Status RecordedProbePlatform::deleteFile(const std::string& file)
{
    console::ProbeChange change;
    auto deleted = platform_.deleteFile(file);
    // A probe that could not be deleted is reported, and the session forgets it.
    change.record("");
    return deleted;
}

} // namespace qimlar::which
