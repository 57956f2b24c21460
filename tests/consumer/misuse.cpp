// Misuse that the installed header makes the compiler reject: the header check
// (tests/checks/header.sh) builds this with -Werror=unused-result (g++ and
// clang++) and -Werror=mismatched-new-delete (g++), and expects each line
// marked below to fail.
#include <libzu/libzu.h>

void drop_every_result()
{
    zu_strdup("lost");       // unused-result
    zu_substr("lost", 0, 2); // unused-result
    zu_calloc(1, 1);         // unused-result
    zu_lstnew(nullptr);      // unused-result
}

void release_with_delete()
{
    delete[] zu_strdup("from malloc"); // mismatched-new-delete (g++)
}
