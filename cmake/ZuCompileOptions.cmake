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

# zu_link_options_if_taken(<target> <option>...)
#
# Links <target> with each LINKER:<option> that this linker takes: some are
# GNU ld's or ELF's alone, and another linker would stop at them.
include(CheckLinkerFlag)
function(zu_link_options_if_taken target)
    get_target_property(type ${target} TYPE)
    get_target_property(language ${target} LINKER_LANGUAGE)
    if(NOT language)
        set(language CXX)
    endif()
    set(CMAKE_REQUIRED_QUIET ON)
    foreach(option IN LISTS ARGN)
        string(MAKE_C_IDENTIFIER "ZU_LINKER_TAKES_${language}${option}" taken)
        check_linker_flag(${language} "LINKER:${option}" ${taken})
        if(${taken})
            target_link_options(${target} PRIVATE "LINKER:${option}")
        endif()
    endforeach()
endfunction()

# zu_exported_operations(<variable>)
#
# What libzu.so exports, as cmake/libzu.map records it: one name@VERSION item
# per operation (zu_strlen@LIBZU_1.0).
function(zu_exported_operations variable)
    file(STRINGS "${PROJECT_SOURCE_DIR}/cmake/libzu.map" lines REGEX "^[A-Z0-9_.]+ *{|^ +zu_[a-z_]+;$")
    set(exported)
    foreach(line IN LISTS lines)
        if(line MATCHES "^([A-Z0-9_.]+) *{")
            set(node "${CMAKE_MATCH_1}")
        elseif(line MATCHES "(zu_[a-z_]+);")
            list(APPEND exported "${CMAKE_MATCH_1}@${node}")
        endif()
    endforeach()
    set(${variable} "${exported}" PARENT_SCOPE)
endfunction()
