#include "lookup/FindExe.h"

#include "ProbeName.h"
#include "TypeRegistration.h"
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

// A session of one lookup: its probe deleted before the answer is given. A probe left behind
// is a file of ours in somebody's folder: never in silence.
LookupResult ended(LookupSession& session, LookupResult result)
{
    if (const auto ended = session.end(); !ended) {
        if (result.status != LookupStatus::Trouble)
            return trouble(ended.reason());
        result.reason += "; " + ended.reason();
    }
    return result;
}

LookupResult unknownType(std::string reason)
{
    LookupResult result;
    result.status = LookupStatus::UnknownType;
    result.reason = std::move(reason);
    return result;
}

// A neighbour who plants at the names probes take can only guess a stem drawn afresh.
constexpr int renameAttempts = 8;

} // namespace

std::optional<std::string> Platform::registeredExtension(const std::string&)
{
    return std::nullopt;
}

LookupSession::~LookupSession()
{
    end();
}

LookupResult LookupSession::lookUp(const std::string& extension, const LookupDetail& detail)
{
    if (probe_.empty()) {
        const auto folder = platform_.tempFolder();
        if (!folder)
            return trouble(folder.reason());
        const auto created = platform_.createUniqueFile(*folder, "~");
        if (!created)
            return trouble(created.reason());
        probe_ = *created;
    }
    // An extension that no file name can end in names no type: the probe keeps its name,
    // and nobody else's file is touched.
    if (!extensionFitsFileName(extension))
        return unknownType("no file name can end in this extension");

    // The probe keeps its folder and stem from one extension to the next: a rename makes no
    // new file. Where somebody else's file already holds the name (another user may plant
    // one as soon as a probe appears), the probe tries again under a stem drawn afresh, which
    // nobody has seen; their file is neither followed nor deleted.
    std::string stemFrom = probe_;
    for (int attempt = 1;; ++attempt) {
        const auto name = probeNameWithin(stemFrom, extension);
        if (!name)
            return unknownType("no file name can be that long");
        if (*name == probe_)
            break;
        // A rename that fails otherwise leaves the probe under the name it had.
        const auto renamed = platform_.renameNoReplace(probe_, *name);
        if (renamed) {
            probe_ = *name;
            break;
        }
        if (!renamed.nameTaken() || attempt == renameAttempts)
            return trouble(renamed.reason());
        stemFrom = withFreshStem(probe_);
    }

    LookupResult result = platform_.findAssociation(probe_, detail);
    if (detail.explanation)
        result.explanation.insert(result.explanation.begin(),
                                  "The lookup asked about the empty file " + probe_ + ".");
    if (result.status != LookupStatus::Found)
        result.program.clear();
    return result;
}

LookupResult LookupSession::lookUpType(const std::string& type, const LookupDetail& detail)
{
    const auto extension = platform_.registeredExtension(type);
    if (!extension || extension->empty()) {
        LookupResult result = platform_.findTypeAssociation(type, detail);
        if (result.status != LookupStatus::Found)
            result.program.clear();
        return result;
    }
    // The registered extension starts with its "."; the probe's name has its own.
    LookupResult result =
        lookUp(extension->front() == '.' ? extension->substr(1) : *extension, detail);
    result.type = type;
    if (detail.explanation)
        result.explanation.insert(result.explanation.begin(),
                                  typeRegistration(type) + " names the extension " + *extension +
                                      ": the lookup asks about that.");
    return result;
}

Status LookupSession::end()
{
    if (probe_.empty())
        return Done{};
    const std::string probe = std::move(probe_);
    probe_.clear();
    return platform_.deleteFile(probe);
}

LookupResult LookUpProgram(const std::string& extension, Platform& platform,
                           const LookupDetail& detail)
{
    LookupSession session(platform);
    return ended(session, session.lookUp(extension, detail));
}

LookupResult LookUpType(const std::string& type, Platform& platform, const LookupDetail& detail)
{
    LookupSession session(platform);
    return ended(session, session.lookUpType(type, detail));
}

std::string FindExe(const std::string& extension, Platform& platform)
{
    return LookUpProgram(extension, platform).program;
}

} // namespace qimlar
