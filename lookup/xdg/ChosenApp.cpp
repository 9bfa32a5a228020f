#include "xdg/ChosenApp.h"

#include "xdg/DesktopEntries.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace qimlar::xdg {

namespace {

bool declares(GAppInfo* app, const std::string& type)
{
    const char* const* types = g_app_info_get_supported_types(app);
    for (; types && *types; ++types)
        if (g_content_type_equals(*types, type.c_str()))
            return true;
    return false;
}

// The id of the one program of `type` whose program is `path`.
Outcome<std::string> idOfProgram(const std::string& path, const std::string& type)
{
    g_autoptr(GAppInfo) defaultApp = g_app_info_get_default_for_type(type.c_str(), FALSE);
    std::string ids;
    std::size_t count = 0;
    for (const ProgramChoice& choice : everyProgram(type, defaultApp)) {
        if (choice.program != path)
            continue;
        ids += (count++ ? " and " : "") + choice.id;
    }
    if (count == 0)
        return Failure{"no program that can open " + type + " is " + path +
                       " (qimlar-which --all --mime " + type + " lists them)"};
    if (count > 1)
        return Failure{path + " is the program of " + ids + ": name one of them by its id"};
    return ids;
}

} // namespace

Outcome<ChosenApp> chooseApp(const std::string& app, const std::string& type)
{
    std::string id = app;
    if (g_path_is_absolute(app.c_str())) {
        const auto found = idOfProgram(app, type);
        if (!found)
            return Failure{found.reason()};
        id = *found;
    }
    g_autoptr(GDesktopAppInfo) entry = g_desktop_app_info_new(id.c_str());
    if (!entry)
        return Failure{"no installed desktop entry has the id " + id};
    const auto program = findProgram(entryOf(entry)).program;
    return ChosenApp{id, program ? *program : std::string(), declares(G_APP_INFO(entry), type)};
}

} // namespace qimlar::xdg
