# This machine's compilers with the flags Debian builds its packages with
# (dpkg-buildflags, hardening=+all): the compiler and linker flags as a
# package build's environment gives them, and the preprocessor flags, with
# _FORTIFY_SOURCE at level ZU_FORTIFY_LEVEL, in the build type's own flags,
# where some distributions put them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ZU_FORTIFY_LEVEL)
set(ENV{DEB_BUILD_MAINT_OPTIONS} hardening=+all)
foreach(kind IN ITEMS CFLAGS CXXFLAGS LDFLAGS CPPFLAGS)
    execute_process(COMMAND dpkg-buildflags --get ${kind} OUTPUT_VARIABLE zu_${kind}
        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(REGEX REPLACE "-D_FORTIFY_SOURCE=[0-9]" "-D_FORTIFY_SOURCE=${ZU_FORTIFY_LEVEL}" zu_CPPFLAGS "${zu_CPPFLAGS}")
if(NOT zu_CPPFLAGS MATCHES "-D_FORTIFY_SOURCE=${ZU_FORTIFY_LEVEL}( |$)")
    message(FATAL_ERROR "dpkg-buildflags' CPPFLAGS name no _FORTIFY_SOURCE level to set: ${zu_CPPFLAGS}")
endif()
set(CMAKE_C_FLAGS_INIT "${zu_CFLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${zu_CXXFLAGS}")
foreach(kind IN ITEMS EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "${zu_LDFLAGS}")
endforeach()
foreach(language IN ITEMS C CXX)
    set(CMAKE_${language}_FLAGS_RELEASE_INIT "${zu_CPPFLAGS}") # CMake adds -O3 -DNDEBUG
    set(CMAKE_${language}_FLAGS_MINSIZEREL_INIT "${zu_CPPFLAGS}") # and -Os -DNDEBUG
endforeach()
