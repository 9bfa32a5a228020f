#pragma once

#include "lookup/LookupResult.h"
#include "lookup/Outcome.h"

#include <string>

namespace qimlar {

class Platform;

// Which program this machine opens files with `extension` with, and why. The extension is used
// exactly as typed: no dot added or removed, nothing trimmed, the case kept. The lookup asks
// about an empty probe file that it creates in the temporary folder and deletes again before it
// returns; it touches no other file.
// `detail` asks for the extra facts the result can hold.
LookupResult LookUpProgram(const std::string& extension, Platform& platform,
                           const LookupDetail& detail = {});

// Lookups by extension, one after another, that share one probe file: made at the first
// lookup, renamed from one extension's name to the next, deleted by end(). A thousand lookups
// then cost one file instead of a thousand (file systems such as ext4 grow slower at making
// files while many have just been deleted). Between lookups the probe waits in the temporary
// folder: end the session before anything that may take long, such as waiting for input.
class LookupSession
{
public:
    explicit LookupSession(Platform& platform) : platform_(platform) {}
    // Deletes a probe that end() was not asked to; a failure goes unreported here.
    ~LookupSession();
    LookupSession(const LookupSession&) = delete;
    LookupSession& operator=(const LookupSession&) = delete;

    // What LookUpProgram answers, the probe left for the next lookup. Where somebody else's
    // file holds the name the probe would take, it tries again under a new stem, a few times; a
    // rename that fails otherwise makes this lookup trouble and leaves the probe under the name it
    // had.
    LookupResult lookUp(const std::string& extension, const LookupDetail& detail = {});

    // What LookUpType answers. Where the platform associates extensions, the type's registered
    // extension is asked about through this session's probe, left for the next lookup.
    LookupResult lookUpType(const std::string& type, const LookupDetail& detail = {});

    // Deletes the probe, if there is one; a later lookup makes a new one. Fails, saying why,
    // when it could not be deleted (the probe is then left where it is, and forgotten).
    Status end();

    // The probe's name now; empty when there is none.
    const std::string& probe() const { return probe_; }

private:
    Platform& platform_;
    std::string probe_;
};

// The same for a file type named directly: a MIME type such as "audio/mpeg".
LookupResult LookUpType(const std::string& type, Platform& platform,
                        const LookupDetail& detail = {});

// The answer alone: the program's full path (or the command line that starts it), or an empty
// text when nothing opens such files or the lookup failed.
std::string FindExe(const std::string& extension, Platform& platform);

} // namespace qimlar
