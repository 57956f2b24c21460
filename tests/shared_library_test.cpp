// The unit tests, built a second time against libzu.so: this program calls
// the operations the shared library exports. One it does not export at all
// leaves this program unlinkable; one it exports at another version than
// LIBZU_1.0 fails here.
#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

TEST(SharedLibrary, ExportsEachOperationAtLIBZU_1_0)
{
    void *library = dlopen("libzu.so.1", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << "this program has not loaded libzu.so.1";
    for (const char *operation :
         {"zu_strlen", "zu_strdup", "zu_substr", "zu_putchar_fd", "zu_putstr_fd", "zu_putendl_fd",
          "zu_putnbr_fd", "zu_calloc", "zu_lstnew"}) {
        SCOPED_TRACE(operation);
        EXPECT_NE(dlvsym(library, operation, "LIBZU_1.0"), nullptr);
    }
    dlclose(library);
}

} // namespace
