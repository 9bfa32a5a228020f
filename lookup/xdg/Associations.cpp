// The associations of the freedesktop desktops, through GIO: the shared-mime-info database
// gives a name its type, mimeapps.list and the desktop entries the program that opens it.

#include "Explanation.h"
#include "NativePlatform.h"
#include "xdg/DefaultDecision.h"
#include "xdg/DesktopCommand.h"
#include "xdg/MimeGlobs.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <algorithm>

namespace qimlar {

namespace {

// What the lookup reads of a desktop entry to find its program.
xdg::Entry entryOf(GDesktopAppInfo* entry)
{
    xdg::Entry facts;
    if (const char* filename = g_desktop_app_info_get_filename(entry))
        facts.file = filename;
    if (const char* exec = g_app_info_get_commandline(G_APP_INFO(entry)))
        facts.exec = exec;
    g_autofree gchar* flatpak = g_desktop_app_info_get_string(entry, "X-Flatpak");
    if (flatpak)
        facts.flatpakId = flatpak;
    return facts;
}

// Every program that can open `type`, as the desktop's "open with" lists give them: the
// default, then the entries registered for the type itself, then those registered for its
// parent types (GIO leaves those of the type itself out of that list already).
std::vector<ProgramChoice> everyProgram(const std::string& type, GAppInfo* defaultApp)
{
    std::vector<ProgramChoice> choices;
    std::vector<std::string> ids;
    const auto add = [&](GAppInfo* app, ProgramRelation relation) {
        const char* id = g_app_info_get_id(app);
        if (!G_IS_DESKTOP_APP_INFO(app) ||
            (id && std::find(ids.begin(), ids.end(), id) != ids.end()))
            return;
        ids.emplace_back(id ? id : "");
        const xdg::Entry facts = entryOf(G_DESKTOP_APP_INFO(app));
        const auto program = xdg::programOf(facts);
        choices.push_back({program ? *program : std::string(), xdg::withoutFieldCodes(facts.exec),
                           facts.file, relation});
    };
    if (defaultApp)
        add(defaultApp, ProgramRelation::Default);
    const auto addAll = [&](GList* apps, ProgramRelation relation) {
        for (GList* app = apps; app; app = app->next)
            add(G_APP_INFO(app->data), relation);
        g_list_free_full(apps, g_object_unref);
    };
    addAll(g_app_info_get_recommended_for_type(type.c_str()), ProgramRelation::Registered);
    addAll(g_app_info_get_fallback_for_type(type.c_str()), ProgramRelation::ParentType);
    return choices;
}

// The program the desktop opens `type` with, and what `detail` asks for; `explanation` holds
// how the type was found.
LookupResult associationOf(const std::string& type, const LookupDetail& detail,
                           std::vector<std::string> explanation)
{
    LookupResult result;
    result.type = type;
    result.explanation = std::move(explanation);
    std::vector<std::string>* steps = detail.explanation ? &result.explanation : nullptr;
    const Steps said(steps);
    g_autoptr(GAppInfo) app = g_app_info_get_default_for_type(type.c_str(), FALSE);
    if (detail.everyProgram)
        result.programs = everyProgram(type, app);
    if (!app || !G_IS_DESKTOP_APP_INFO(app)) {
        result.status = LookupStatus::NoProgram;
        result.reason =
            "no installed desktop entry opens " + result.type + " or a type it is a kind of";
        if (steps)
            xdg::findDecision(type, "", "", steps);
        said.say("So nothing is found: " + result.reason + ".");
        return result;
    }
    GDesktopAppInfo* entry = G_DESKTOP_APP_INFO(app);
    const xdg::Entry facts = entryOf(entry);
    result.entry = facts.file;
    result.command = xdg::withoutFieldCodes(facts.exec);
    result.terminal = g_desktop_app_info_get_boolean(entry, "Terminal");
    if (const char* id = g_app_info_get_id(app)) {
        if (const auto decision = xdg::findDecision(result.type, id, result.entry, steps))
            result.decidedBy = decision->describe(result.type);
    }
    said.say("The desktop entry chosen is " + result.entry + ".");

    auto program = xdg::programOf(facts, xdg::snapCommandFolder, steps);
    if (!program) {
        result.status = LookupStatus::NoProgram;
        result.reason = program.reason();
        said.say("So nothing is found: " + result.reason + ".");
        return result;
    }
    result.program = *program;
    result.status = LookupStatus::Found;
    said.say("The answer is " + result.program +
             (result.terminal ? ", run in a terminal as the entry asks." : "."));
    return result;
}

} // namespace

LookupResult NativePlatform::findAssociation(const std::string& file, const LookupDetail& detail)
{
    // The probe is empty, and sniffing an empty file says nothing: the name alone decides.
    g_autofree gchar* contentType = g_content_type_guess(file.c_str(), nullptr, 0, nullptr);
    const bool unknown = g_content_type_is_unknown(contentType);
    std::vector<std::string> steps;
    if (detail.explanation) {
        g_autofree gchar* name = g_path_get_basename(file.c_str());
        steps.push_back(xdg::explainType(name, contentType, unknown));
    }
    if (unknown) {
        LookupResult result;
        result.type = contentType;
        result.status = LookupStatus::UnknownType;
        result.reason = "the shared MIME database has no type for such names";
        result.explanation = std::move(steps);
        if (detail.explanation)
            result.explanation.push_back("So there is no type to find a program for.");
        return result;
    }
    return associationOf(contentType, detail, std::move(steps));
}

LookupResult NativePlatform::findTypeAssociation(const std::string& type,
                                                 const LookupDetail& detail)
{
    std::vector<std::string> steps;
    if (detail.explanation)
        steps.push_back("The lookup was given the type " + type + ".");
    // GIO would take any text for a type and find nothing for it; a misspelt type is no
    // type that nothing opens.
    if (!xdg::isKnownType(type)) {
        LookupResult result;
        result.status = LookupStatus::UnknownType;
        result.type = type;
        result.reason = "the shared MIME database knows no type " + type;
        if (detail.explanation) {
            steps.push_back("No MIME database lists " + type + " among its types or aliases.");
            result.explanation = std::move(steps);
        }
        return result;
    }
    return associationOf(type, detail, std::move(steps));
}

} // namespace qimlar
