/* A C program built against an installed libzu with flags from pkg-config,
 * which also passes in the version it reports as LIBZU_PKG_CONFIG_VERSION. */
#include <libzu/libzu.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    char parts[32];
    char *word = zu_substr("Hello, World!", 7, 100);
    unsigned char *zeros = zu_calloc(3, 4);
    int ok = word != NULL && strcmp(word, "World!") == 0 && zu_strlen(word) == 6 && zeros != NULL &&
             zeros[0] == 0 && zeros[11] == 0 && zu_calloc(SIZE_MAX, 2) == NULL;

    /* One version: the header's parts, its string and pkg-config's agree. */
    snprintf(parts, sizeof parts, "%d.%d.%d", LIBZU_VERSION_MAJOR, LIBZU_VERSION_MINOR,
             LIBZU_VERSION_PATCH);
    ok = ok && strcmp(parts, LIBZU_VERSION) == 0 &&
         strcmp(LIBZU_VERSION, LIBZU_PKG_CONFIG_VERSION) == 0;

    free(zeros);
    free(word);
    zu_putnbr_fd(ok ? 1 : 0, 1);
    zu_putendl_fd(" from C, libzu " LIBZU_VERSION, 1);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
