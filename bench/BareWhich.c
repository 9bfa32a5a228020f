/* The floor for any answer through GIO as a whole process: the bare C lookup of BareLookup.c
 * for each extension given, its program printed one line each, linked with GIO and nothing
 * else. */

#include "BareLookup.h"

#include <glib.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char* argv[])
{
    const char* folder = getenv("TMPDIR");
    for (int i = 1; i < argc; ++i) {
        char* program = bare_lookup(folder && *folder ? folder : "/tmp", argv[i]);
        puts(program ? program : "");
        g_free(program);
    }
    return 0;
}
