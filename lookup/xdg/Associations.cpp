// The associations of the freedesktop desktops, through GIO: the shared-mime-info database
// gives a name its type, mimeapps.list and the desktop entries the program that opens it.

#include "NativePlatform.h"
#include "TypeRegistration.h"
#include "xdg/DefaultDecision.h"
#include "xdg/DesktopCommand.h"
#include "xdg/DesktopEntries.h"
#include "xdg/Explanation.h"
#include "xdg/FieldCodes.h"
#include "xdg/FilesGioReads.h"
#include "xdg/KnownTypes.h"
#include "xdg/MimeGlobs.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace qimlar {

namespace {

LookupResult unknownType(const std::string& type, std::string reason)
{
    LookupResult result;
    result.status = LookupStatus::UnknownType;
    result.type = type;
    result.reason = std::move(reason);
    return result;
}

// Where the default entry became the default, and the walk there for those who ask why.
void decideEntry(LookupResult& result, const char* id, const LookupDetail& detail,
                 xdg::LookupWalk& walk)
{
    std::optional<xdg::Decision> decision;
    if (detail.explanation) {
        walk.decision = xdg::walkToDecision(result.type, id, result.entry);
        decision = walk.decision->decision;
    } else {
        decision = xdg::findDecision(result.type, id, result.entry);
    }
    if (decision)
        result.decidedBy = decision->describe();
}

// The program the desktop opens `type` with, and what `detail` asks for; with an explanation
// asked for, the walks taken go to `walk`.
LookupResult associationOf(const std::string& type, const LookupDetail& detail,
                           xdg::LookupWalk& walk)
{
    LookupResult result;
    result.type = type;
    g_autoptr(GAppInfo) app = g_app_info_get_default_for_type(type.c_str(), FALSE);
    if (detail.everyProgram)
        result.programs = xdg::everyProgram(type, app);
    if (!app || !G_IS_DESKTOP_APP_INFO(app)) {
        result.status = LookupStatus::NoProgram;
        result.reason = "no installed desktop entry opens " + type + " or a type it is a kind of";
        if (detail.explanation)
            walk.decision = xdg::walkThroughLists(type);
        return result;
    }
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(app);
    const xdg::Entry facts = xdg::entryOf(entry);
    result.entry = facts.file;
    result.command = xdg::withoutFieldCodes(facts.exec);
    result.terminal = g_desktop_app_info_get_boolean(entry, "Terminal");
    if (const char* id = g_app_info_get_id(app))
        decideEntry(result, id, detail, walk);

    auto search = xdg::findProgram(facts);
    if (detail.explanation)
        walk.exec = std::move(search.walk);
    if (!search.program) {
        result.status = LookupStatus::NoProgram;
        result.reason = search.program.reason();
        return result;
    }
    result.program = *search.program;
    result.status = LookupStatus::Found;
    return result;
}

// A lookup that GIO would never finish: a named pipe where it reads a list or an entry.
std::optional<LookupResult> blocked()
{
    const Status checked = xdg::checkFilesGioReads();
    if (checked)
        return std::nullopt;
    LookupResult result;
    result.status = LookupStatus::Trouble;
    result.reason = checked.reason();
    return result;
}

} // namespace

LookupResult NativePlatform::findAssociation(const std::string& file, const LookupDetail& detail)
{
    if (auto trouble = blocked())
        return *trouble;
    // The probe is empty, and sniffing an empty file says nothing: the name alone decides.
    g_autofree gchar* contentType = g_content_type_guess(file.c_str(), nullptr, 0, nullptr);
    const bool unknown = g_content_type_is_unknown(contentType);
    xdg::LookupWalk walk;
    if (detail.explanation) {
        g_autofree gchar* name = g_path_get_basename(file.c_str());
        walk.name = name;
        walk.globs.files = xdg::globFiles();
        if (!unknown)
            walk.globs.match = xdg::bestGlob(walk.globs.files, walk.name, contentType);
    }
    LookupResult result =
        unknown ? unknownType(contentType, "the shared MIME database has no type for such names")
                : associationOf(contentType, detail, walk);
    if (detail.explanation)
        result.explanation = xdg::explanation(walk, result);
    return result;
}

LookupResult NativePlatform::findTypeAssociation(const std::string& type,
                                                 const LookupDetail& detail)
{
    if (auto trouble = blocked())
        return *trouble;
    xdg::LookupWalk walk;
    // GIO would take any text for a type and find nothing for it; a misspelt type is no
    // type that nothing opens. A type that only desktop entries register (a scheme handler's,
    // x-scheme-handler/https) is known all the same.
    LookupResult result =
        xdg::isKnownType(type)
            ? associationOf(type, detail, walk)
            : unknownType(
                  type,
                  "no MIME database, association list or installed desktop entry knows the type " +
                      type);
    if (detail.explanation)
        result.explanation = xdg::explanation(walk, result);
    return result;
}

// Types are associated themselves: no extension stands for one.
std::optional<std::string> NativePlatform::registeredExtension(const std::string&)
{
    return std::nullopt;
}

std::string typeRegistration(const std::string& type)
{
    return "The type " + type;
}

} // namespace qimlar
