# Compile settings shared by the library, the runners and the tests.
# All of them are set on targets, never globally.

# Warnings for code of this project; PRIVATE, so they never reach a consumer.
function(zu_enable_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wconversion -Wshadow
        $<$<BOOL:${ZU_WARNINGS_AS_ERRORS}>:-Werror>)
endfunction()

# C++17 without compiler extensions, and the warnings above.
function(zu_cxx17 target)
    set_target_properties(${target} PROPERTIES
        CXX_STANDARD 17
        CXX_STANDARD_REQUIRED ON
        CXX_EXTENSIONS OFF)
    zu_enable_warnings(${target})
endfunction()

# The library and the runners are plain C++ over the C library: no exceptions,
# no RTTI, nothing that would pull the C++ runtime into a program.
function(zu_plain_cxx target)
    zu_cxx17(${target})
    target_compile_options(${target} PRIVATE
        $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>)
endfunction()
