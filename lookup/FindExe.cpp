#include "FindExe.h"

#include "Platform.h"
#include "ProbeName.h"

namespace qimlar {

std::string FindExe(const std::string& extension, Platform& platform)
{
    std::string result;

    const auto folder = platform.tempFolder();
    if (!folder)
        return result;

    const auto created = platform.createUniqueFile(*folder, "~");
    if (!created)
        return result;

    // An extension that cannot end a file name here, or a rename that fails (a file of that
    // name exists, the name is too long), leaves the probe under its created name: it goes
    // from there, and nobody else's file is touched.
    const std::string probe = probeName(*created, extension);
    const bool renamed = probe == *created || (extensionFitsFileName(extension) &&
                                               platform.renameNoReplace(*created, probe));
    if (!renamed) {
        platform.deleteFile(*created);
        return result;
    }

    result = platform.findExecutable(probe);
    platform.deleteFile(probe);
    return result;
}

} // namespace qimlar
