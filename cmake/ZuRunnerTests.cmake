# zu_runner_test_program(<target> PROGRAMS <dir> [SUFFIX <suffix>]
#                        [EMULATOR <command>...] [STATIC] [WINDOWS])
#
# Gives <target>, a test program of tests/run_program.cpp, what it needs to
# find and start the runner programs in <dir>: their file name suffix, the
# emulator that runs them (empty for none), and how they are built: linked
# statically against another C library, or for Windows. What they print is
# kept in files in the build tree while they run.
function(zu_runner_test_program target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "STATIC;WINDOWS" "PROGRAMS;SUFFIX" "EMULATOR")
    set(tests_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tests")
    set(scratch_dir "${CMAKE_CURRENT_BINARY_DIR}/scratch")
    file(MAKE_DIRECTORY "${scratch_dir}")
    list(JOIN arg_EMULATOR "|" emulator)
    target_compile_definitions(${target} PRIVATE
        ZU_RUNTIME_DIR="${arg_PROGRAMS}"
        ZU_PROGRAM_SUFFIX="${arg_SUFFIX}"
        ZU_EMULATOR="${emulator}"
        ZU_STATIC_PROGRAMS=$<BOOL:${arg_STATIC}>
        ZU_WINDOWS_PROGRAMS=$<BOOL:${arg_WINDOWS}>
        ZU_EXPECTED_DIR="${tests_dir}/expected"
        ZU_SCRATCH_DIR="${scratch_dir}")
endfunction()
