# One static library per source folder; every .cpp under the folder belongs to it,
# so adding a source file needs no edit here (re-run happens through CONFIGURE_DEPENDS).
# EXCLUDE_DIRS names sub-folders that build libraries of their own.
function(brvl_folder_library name)
    cmake_parse_arguments(ARG "" "" "PUBLIC_DEPS;PRIVATE_DEPS;EXCLUDE_DIRS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    foreach(dir ${ARG_EXCLUDE_DIRS})
        list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${dir}/")
    endforeach()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# One test program per tests/ sub-folder; each test case is a CTest test labelled
# by the folder it tests. PROPERTIES (name value ...) go to every test case.
# With BRVL_TEST_SHARDS > 0 each program is instead that many CTest tests, each
# running its share of the cases in one process, unless PER_CASE is given.
function(brvl_folder_tests label)
    cmake_parse_arguments(ARG "PER_CASE" "" "DEPS;EXTRA_LABELS;PROPERTIES" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(NOT sources)
        return()
    endif()
    set(target brvl_${label}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} brvl_test_support GTest::gtest GTest::gtest_main)
    # Every test source includes GoogleTest; parsing it once per program saves
    # a good part of the test build on small machines.
    target_precompile_headers(${target} PRIVATE <gtest/gtest.h>)
    # A test source is set-up and checks; the code it tests keeps its own
    # optimisation. Most of a test source's compile time is spent optimising
    # the code the test macros expand to, so the sanitizer build compiles them
    # unoptimised (about a third faster instrumented) and the others at -O1
    # (about a third faster than -O2, and the tests run as fast).
    if(BRVL_SANITIZE)
        target_compile_options(${target} PRIVATE -O0)
    elseif(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
        target_compile_options(${target} PRIVATE -O1)
    endif()
    if(BRVL_TEST_SHARDS GREATER 0 AND NOT ARG_PER_CASE)
        # Under the sanitizers starting a process (and the display and font
        # set-up of the window tests) costs more than most test cases, so there
        # each program runs whole, split into shards that keep the cores busy.
        math(EXPR last "${BRVL_TEST_SHARDS} - 1")
        foreach(shard RANGE ${last})
            set(name ${target}_shard${shard})
            add_test(NAME ${name} COMMAND ${target})
            set_tests_properties(${name} PROPERTIES
                LABELS "${label};${ARG_EXTRA_LABELS}"
                ENVIRONMENT "GTEST_TOTAL_SHARDS=${BRVL_TEST_SHARDS};GTEST_SHARD_INDEX=${shard}")
        endforeach()
    else()
        gtest_discover_tests(${target}
            PROPERTIES LABELS "${label};${ARG_EXTRA_LABELS}" ${ARG_PROPERTIES}
            DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
