#include "win32/Associations.h"

#include "win32/Explanation.h"
#include "win32/Files.h"
#include "win32/OpenWith.h"
#include "win32/WideText.h"

namespace qimlar::win32 {

namespace {

// Why a registered type has no program: what the registry holds instead.
std::string whyNoProgram(const LookupResult& found)
{
    if (found.progId.empty())
        return found.decidedBy + " names no class";
    if (found.command.empty())
        return found.entry + " has no command that opens files";
    return "no program exists for the registered command " + found.command;
}

LookupResult resultOf(const ProbeDecision& decided)
{
    LookupResult result;
    result.status = LookupStatus::UnknownType;
    if (decided.name == ProbeDecision::Name::NotUtf8) {
        result.reason = "the name is not valid UTF-8";
        return result;
    }
    if (decided.name == ProbeDecision::Name::NoExtension) {
        result.reason = "a name without an extension has no type";
        return result;
    }
    const ShellAssociation& association = decided.association;
    if (!association.registered) {
        result.reason = "no file type is registered for " + utf8Of(decided.extension);
        return result;
    }
    result.type = utf8Of(association.contentType);
    result.progId = utf8Of(association.progId);
    result.entry = utf8Of(association.entry);
    result.decidedBy = utf8Of(association.decidedBy);
    result.command = utf8Of(association.command);

    const std::wstring& program = decided.program.program;
    result.status = LookupStatus::NoProgram;
    if (program.empty()) {
        result.reason = whyNoProgram(result);
    } else if (program == decided.probe) {
        // The answer would be the probe, gone a moment later.
        result.reason = "such files start themselves";
    } else {
        result.program = utf8Of(program);
        if (!result.program.empty())
            result.status = LookupStatus::Found;
    }
    return result;
}

} // namespace

ProbeDecision decideProbe(const std::string& file)
{
    ProbeDecision decided;
    const auto wideFile = toWide(file);
    if (!wideFile) {
        decided.name = ProbeDecision::Name::NotUtf8;
        return decided;
    }
    // Windows drops the trailing dots and spaces of the name it gives a file: "x.mp3. " is
    // x.mp3 on disk, and x.mp3 is what the shell is asked about.
    decided.probe = fullPath(*wideFile);
    decided.extension = extensionOf(decided.probe);
    if (decided.extension.empty()) {
        decided.name = ProbeDecision::Name::NoExtension;
        return decided;
    }
    decided.association = readAssociation(decided.extension);
    if (decided.association.registered)
        decided.program = decideProgram(decided.probe, decided.association);
    return decided;
}

LookupResult findAssociation(const std::string& file, const LookupDetail& detail)
{
    const ProbeDecision decided = decideProbe(file);
    LookupResult result = resultOf(decided);
    if (detail.explanation)
        result.explanation = explanationOf(decided, result);
    if (detail.everyProgram && decided.association.registered) {
        const std::wstring classesKey = L"HKEY_CLASSES_ROOT\\" + decided.extension;
        ProgramChoice theDefault;
        theDefault.program = result.program;
        theDefault.command = result.command;
        theDefault.entry = result.entry.empty() ? utf8Of(classesKey) : result.entry;
        theDefault.relation = ProgramRelation::Default;
        theDefault.name = utf8Of(decided.association.friendlyName);
        theDefault.icon = result.program;
        result.programs = openWithPrograms(decided.extension, decided.association, theDefault);
    }
    return result;
}

std::optional<std::string> registeredExtension(const std::string& type)
{
    const auto wideType = toWide(type);
    return utf8Of(wideType ? extensionOfContentType(*wideType) : std::wstring());
}

LookupResult findTypeAssociation(const std::string& type, const LookupDetail& detail)
{
    LookupResult result;
    result.type = type;
    if (const auto extension = registeredExtension(type); !extension->empty()) {
        result.status = LookupStatus::Trouble;
        result.reason = "cannot look up the type " + type +
                        " by itself: the shell associates its extension " + *extension;
        return result;
    }
    result.status = LookupStatus::UnknownType;
    result.reason = toWide(type) ? "no extension is registered for the type " + type
                                 : "the type is not valid UTF-8";
    if (detail.explanation)
        result.explanation = noExtensionExplanation(type, result.reason);
    return result;
}

} // namespace qimlar::win32
