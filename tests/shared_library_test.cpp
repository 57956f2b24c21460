// The unit tests, built a second time against libzu.so: this program calls
// the operations the shared library exports. One it does not export at all
// leaves this program unlinkable; one it exports at another version than
// cmake/libzu.map's fails here.
#include <libzu/libzu.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sstream>
#include <string>

namespace {

TEST(SharedLibrary, ExportsEachOperationAtItsVersion)
{
    void *library = dlopen("libzu.so.1", RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << "this program has not loaded libzu.so.1";
    // name@VERSION items, read by the build from cmake/libzu.map.
    std::istringstream exported(ZU_EXPORTED_OPERATIONS);
    int operations = 0;
    for (std::string item; exported >> item; operations++) {
        SCOPED_TRACE(item);
        const size_t at = item.find('@');
        EXPECT_NE(dlvsym(library, item.substr(0, at).c_str(), item.substr(at + 1).c_str()),
                  nullptr);
    }
    EXPECT_GT(operations, 0) << "cmake/libzu.map lists no operation";
    dlclose(library);
}

} // namespace
