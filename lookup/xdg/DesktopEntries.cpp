#include "xdg/DesktopEntries.h"

#include "xdg/FieldCodes.h"

#include <algorithm>
#include <utility>

namespace qimlar::xdg {

Entry entryOf(GDesktopAppInfo* entry)
{
    Entry facts;
    if (const char* filename = g_desktop_app_info_get_filename(entry))
        facts.file = filename;
    if (const char* exec = g_app_info_get_commandline(G_APP_INFO(entry)))
        facts.exec = exec;
    g_autofree gchar* flatpak = g_desktop_app_info_get_string(entry, "X-Flatpak");
    if (flatpak)
        facts.flatpakId = flatpak;
    return facts;
}

namespace {

// What a menu shows of the entry: its name in this process's language, as GIO chooses it from
// Name[LANG], and its icon, a theme's name or a file (g_icon_to_string gives either as is).
void describe(ProgramChoice& choice, GDesktopAppInfo* entry)
{
    if (const char* name = g_app_info_get_name(G_APP_INFO(entry)))
        choice.name = name;
    if (GIcon* icon = g_app_info_get_icon(G_APP_INFO(entry))) {
        g_autofree gchar* text = g_icon_to_string(icon);
        if (text)
            choice.icon = text;
    }
    choice.terminal = g_desktop_app_info_get_boolean(entry, "Terminal");
}

} // namespace

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
        const Entry facts = entryOf(G_DESKTOP_APP_INFO(app));
        const auto program = findProgram(facts).program;
        ProgramChoice choice;
        choice.program = program ? *program : std::string();
        choice.command = withoutFieldCodes(facts.exec);
        choice.entry = facts.file;
        choice.relation = relation;
        choice.id = id ? id : "";
        describe(choice, G_DESKTOP_APP_INFO(app));
        choices.push_back(std::move(choice));
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

} // namespace qimlar::xdg
