// A C++ program built against an installed libzu through its CMake package,
// which passes in the package's version as LIBZU_PACKAGE_VERSION.
#include <libzu/libzu.h>

#include <cstdlib>
#include <cstring>

int main()
{
    int answer = 42;
    zu_list_node *node = zu_lstnew(&answer);
    char *copy = zu_strdup("libzu");
    bool ok = node != nullptr && node->content == &answer && node->next == nullptr &&
              copy != nullptr && std::strcmp(copy, "libzu") == 0 &&
              zu_substr(nullptr, 0, 1) == nullptr &&
              std::strcmp(LIBZU_VERSION, LIBZU_PACKAGE_VERSION) == 0;

    std::free(copy);
    std::free(node);
    zu_putnbr_fd(ok ? 1 : 0, 1);
    zu_putendl_fd(" from C++, libzu " LIBZU_VERSION, 1);
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
