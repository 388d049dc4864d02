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
function(brvl_folder_tests label)
    cmake_parse_arguments(ARG "" "" "DEPS;EXTRA_LABELS;PROPERTIES" ${ARGN})
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
    gtest_discover_tests(${target}
        PROPERTIES LABELS "${label};${ARG_EXTRA_LABELS}" ${ARG_PROPERTIES}
        DISCOVERY_TIMEOUT 60)
endfunction()
