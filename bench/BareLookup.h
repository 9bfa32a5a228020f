#ifndef QIMLAR_BARE_LOOKUP_H
#define QIMLAR_BARE_LOOKUP_H

#ifdef __cplusplus
extern "C" {
#endif

/* The lookup's file operations and GIO calls with nothing around them: the program that opens
 * files named like `folder`/x.`extension`, to be freed with g_free(), or NULL. */
char* bare_lookup(const char* folder, const char* extension);

/* Starts `program` with no arguments and waits for it; 0 when it ran. */
int bare_spawn_and_wait(const char* program);

#ifdef __cplusplus
}
#endif

#endif
