/* A C program built against an installed libzu with flags from pkg-config. */
#include <libzu/libzu.h>

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    char *word = zu_substr("Hello, World!", 7, 100);
    unsigned char *zeros = zu_calloc(3, 4);
    int ok = word != NULL && strcmp(word, "World!") == 0 && zu_strlen(word) == 6 && zeros != NULL &&
             zeros[0] == 0 && zeros[11] == 0 && zu_calloc(SIZE_MAX, 2) == NULL;

    free(zeros);
    free(word);
    zu_putnbr_fd(ok ? 1 : 0, 1);
    zu_putendl_fd(" from C", 1);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
