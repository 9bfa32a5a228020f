// GIO's own answer, from a process of its own: the desktop entry that
// g_app_info_get_default_for_type() gives for the MIME type argv[1], then its program found on
// PATH as a shell would find it; an empty line for each that there is none.

#include <gio/gio.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    GAppInfo* app = g_app_info_get_default_for_type(argv[1], FALSE);
    const char* id = app ? g_app_info_get_id(app) : nullptr;
    gchar* program = app ? g_find_program_in_path(g_app_info_get_executable(app)) : nullptr;
    std::printf("%s\n%s\n", id ? id : "", program ? program : "");
    g_free(program);
    if (app)
        g_object_unref(app);
    return 0;
}
