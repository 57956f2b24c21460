# Checks of the product as a user meets it (its install, its consumers, its
# header, its documents, its shared library), run by CTest like any test.
# Each is a function of a script in tests/checks/, under a label that names
# what it checks: ctest -L install, ctest -L consumers, and so on.

set(ZU_CHECKS_DIR "${PROJECT_BINARY_DIR}/checks")

# zu_add_check(<label> <check> [SETUP <fixture>] [REQUIRES <fixture>...]
#              [ARGS <argument>...])
#
# Test <label>.<check> runs `bash tests/checks/<label>.sh <check> <argument>...`
# in the C locale, so that what its tools print can be read; it writes only
# under checks/ in the build tree. A tool it needs that is missing skips it,
# saying which. SETUP makes it the fixture <fixture>, which the tests that
# REQUIRE it wait for and reuse.
function(zu_add_check label check)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "SETUP" "REQUIRES;ARGS")
    set(name "${label}.${check}")
    add_test(NAME ${name}
        COMMAND bash "${PROJECT_SOURCE_DIR}/tests/checks/${label}.sh" ${check} ${arg_ARGS})
    set_tests_properties(${name} PROPERTIES
        LABELS ${label}
        SKIP_RETURN_CODE 77
        TIMEOUT 600
        ENVIRONMENT "LC_ALL=C;ZU_SOURCE_DIR=${PROJECT_SOURCE_DIR};ZU_BUILD_DIR=${PROJECT_BINARY_DIR};ZU_CHECKS_DIR=${ZU_CHECKS_DIR};ZU_SCRATCH=${ZU_CHECKS_DIR}/${name};CC=${CMAKE_C_COMPILER};CXX=${CMAKE_CXX_COMPILER};ZU_GENERATOR=${CMAKE_GENERATOR}")
    if(arg_SETUP)
        set_tests_properties(${name} PROPERTIES FIXTURES_SETUP ${arg_SETUP})
    endif()
    if(arg_REQUIRES)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED "${arg_REQUIRES}")
    endif()
endfunction()
