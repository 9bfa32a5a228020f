#include "lookup/FindExe.h"

#include "ProbeName.h"
#include "lookup/Platform.h"

namespace qimlar {

namespace {

LookupResult trouble(std::string reason)
{
    LookupResult result;
    result.status = LookupStatus::Trouble;
    result.reason = std::move(reason);
    return result;
}

} // namespace

LookupResult LookUpProgram(const std::string& extension, Platform& platform,
                           const LookupDetail& detail)
{
    const auto folder = platform.tempFolder();
    if (!folder)
        return trouble(folder.reason());

    const auto created = platform.createUniqueFile(*folder, "~");
    if (!created)
        return trouble(created.reason());

    const std::string probe = probeName(*created, extension);
    if (probe != *created) {
        // An extension that no file name can end in names no type: the probe goes under its
        // created name, and nobody else's file is touched.
        if (!extensionFitsFileName(extension)) {
            LookupResult result;
            result.status = LookupStatus::UnknownType;
            result.reason = "no file name can end in this extension";
            if (const auto deleted = platform.deleteFile(*created); !deleted)
                return trouble(deleted.reason());
            return result;
        }
        // A rename that fails (a file of that name exists, the name is too long) leaves the
        // probe under its created name: it goes from there.
        if (const auto renamed = platform.renameNoReplace(*created, probe); !renamed) {
            platform.deleteFile(*created);
            return trouble(renamed.reason());
        }
    }

    LookupResult result = platform.findAssociation(probe, detail);
    if (detail.explanation)
        result.explanation.insert(result.explanation.begin(),
                                  "The lookup asked about the empty file " + probe + ".");
    // A probe left behind is a file of ours in somebody's folder: never in silence.
    if (const auto deleted = platform.deleteFile(probe); !deleted)
        return trouble(deleted.reason());
    if (result.status != LookupStatus::Found)
        result.program.clear();
    return result;
}

LookupResult LookUpType(const std::string& type, Platform& platform, const LookupDetail& detail)
{
    LookupResult result = platform.findTypeAssociation(type, detail);
    if (result.status != LookupStatus::Found)
        result.program.clear();
    return result;
}

std::string FindExe(const std::string& extension, Platform& platform)
{
    return LookUpProgram(extension, platform).program;
}

} // namespace qimlar
