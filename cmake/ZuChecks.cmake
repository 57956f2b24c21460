# Checks of the product as a user meets it (its install, its consumers, its
# header, its documents, its shared library), run by CTest like any test.
# Each is a function of a script in tests/checks/, under a label that names
# what it checks: ctest -L install, ctest -L consumers, and so on.
#
# The labels, and where each is registered; no test preset or package build
# needs to filter them:
# - calls: in every build whose objects are the compiler's own (no sanitizer
#   or coverage runtime among their calls);
# - install, consumers, header, docs build other projects against this one,
#   as a user builds them: only in a plain build of the source tree, as the
#   README's recipe makes it (native, g++, the archive alone, no flags of its
#   own);
# - shared: wherever libzu.so is built from a source tree (not a package
#   build, which brings flags of its own);
# - coverage: in a build instrumented for it, to run after every other test
#   (the coverage preset's last step);
# - lint, hardening, valgrind, fuzz, bench, proof: heavy, only where asked
#   for, with ZU_HEAVY_CHECKS (docs/development.md names the builds CI runs
#   them in); proof in native builds, registered by proofs/.
set(ZU_CHECK_LABELS calls install consumers header docs shared coverage lint hardening valgrind fuzz bench
    proof)
set(zu_user_labels install consumers header docs)
set(zu_heavy_labels lint hardening valgrind fuzz bench proof)
option(ZU_HEAVY_CHECKS "Register the heavy checks: ${zu_heavy_labels}" OFF)

set(ZU_CHECKS_DIR "${PROJECT_BINARY_DIR}/checks")
set(zu_own_flags "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
if(zu_own_flags MATCHES "-fsanitize|--coverage")
    set(zu_instrumented TRUE)
else()
    set(zu_instrumented FALSE)
endif()
if(zu_own_flags MATCHES "^ *$" AND NOT CMAKE_CROSSCOMPILING AND NOT ZU_BUILD_SHARED
   AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(zu_plain_build TRUE)
else()
    set(zu_plain_build FALSE)
endif()

# zu_add_check(<label> <check> [SETUP <fixture>] [REQUIRES <fixture>...]
#              [ARGS <argument>...])
#
# Test <label>.<check> runs `bash tests/checks/<label>.sh <check> <argument>...`
# in the C locale, so that what its tools print can be read; it writes only
# under checks/ in the build tree. The build's programs are named to it in
# ZU_PROGRAMS. A tool it needs that is missing skips it, saying which. SETUP
# makes it the fixture <fixture>, which the tests that REQUIRE it wait for and
# reuse. Nothing is registered where the label means nothing (above).
function(zu_add_check label check)
    if(NOT label IN_LIST ZU_CHECK_LABELS)
        message(FATAL_ERROR "zu_add_check: ${label} is not one of ${ZU_CHECK_LABELS}")
    endif()
    if((label IN_LIST zu_heavy_labels AND NOT ZU_HEAVY_CHECKS)
       OR (label IN_LIST zu_user_labels AND NOT zu_plain_build)
       OR (label STREQUAL "calls" AND zu_instrumented)
       OR (label STREQUAL "coverage" AND NOT zu_own_flags MATCHES "--coverage")
       OR (label STREQUAL "shared" AND NOT zu_own_flags MATCHES "^ *$"))
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "SETUP" "REQUIRES;ARGS")
    set(name "${label}.${check}")
    get_property(programs GLOBAL PROPERTY ZU_RUNNERS)
    list(JOIN programs " " programs)
    add_test(NAME ${name}
        COMMAND bash "${PROJECT_SOURCE_DIR}/tests/checks/${label}.sh" ${check} ${arg_ARGS})
    set_tests_properties(${name} PROPERTIES
        LABELS ${label}
        SKIP_RETURN_CODE 77
        TIMEOUT 600
        ENVIRONMENT "LC_ALL=C;ZU_SOURCE_DIR=${PROJECT_SOURCE_DIR};ZU_BUILD_DIR=${PROJECT_BINARY_DIR};ZU_CHECKS_DIR=${ZU_CHECKS_DIR};ZU_SCRATCH=${ZU_CHECKS_DIR}/${name};ZU_PROGRAMS=${programs};CC=${CMAKE_C_COMPILER};CXX=${CMAKE_CXX_COMPILER};ZU_GENERATOR=${CMAKE_GENERATOR}")
    if(arg_SETUP)
        set_tests_properties(${name} PROPERTIES FIXTURES_SETUP ${arg_SETUP})
    endif()
    if(arg_REQUIRES)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_REQUIRES}")
    endif()
endfunction()
