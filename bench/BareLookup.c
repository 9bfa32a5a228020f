/* The yardstick for the lookup's own layers: the same system and GIO calls in one plain loop,
 * with no platform interface, no std::string and no checks beyond what keeps it correct. */

#define _GNU_SOURCE
#include "BareLookup.h"

#include <gio/gio.h>

#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

static char* program_for(const char* file)
{
    char* type = g_content_type_guess(file, NULL, 0, NULL);
    GAppInfo* app = g_app_info_get_default_for_type(type, FALSE);
    char* program = NULL;
    if (app) {
        const char* command_line = g_app_info_get_commandline(app);
        gchar** argv = NULL;
        if (command_line && g_shell_parse_argv(command_line, NULL, &argv, NULL)) {
            program = g_find_program_in_path(argv[0]);
            g_strfreev(argv);
        }
        g_object_unref(app);
    }
    g_free(type);
    return program;
}

char* bare_lookup(const char* folder, const char* extension)
{
    char created[4096];
    char probe[4096];
    if (snprintf(created, sizeof created, "%s/~XXXXXX.tmp", folder) >= (int)sizeof created)
        return NULL;
    const int fd = mkostemps(created, 4, O_CLOEXEC);
    if (fd < 0)
        return NULL;
    close(fd);
    const int stem = (int)strlen(created) - 3;
    if (snprintf(probe, sizeof probe, "%.*s%s", stem, created, extension) >= (int)sizeof probe ||
        renameat2(AT_FDCWD, created, AT_FDCWD, probe, RENAME_NOREPLACE) != 0) {
        unlink(created);
        return NULL;
    }
    char* program = program_for(probe);
    unlink(probe);
    return program;
}

int bare_spawn_and_wait(const char* program)
{
    char* argv[] = {(char*)program, NULL};
    pid_t pid = 0;
    if (posix_spawn(&pid, program, NULL, NULL, argv, environ) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) == -1) {
    }
    return 0;
}
