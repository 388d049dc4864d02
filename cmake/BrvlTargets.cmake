# One static library per source folder; every .cpp under the folder belongs to it,
# so adding a source file needs no edit here (re-run happens through CONFIGURE_DEPENDS).
function(brvl_folder_library name)
    cmake_parse_arguments(ARG "" "" "PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# One test program per tests/ sub-folder; each test case is a CTest test labelled
# by the folder it tests.
function(brvl_folder_tests label)
    cmake_parse_arguments(ARG "" "" "DEPS;EXTRA_LABELS" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(NOT sources)
        return()
    endif()
    set(target brvl_${label}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} brvl_test_support GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${target}
        PROPERTIES LABELS "${label};${ARG_EXTRA_LABELS}"
        DISCOVERY_TIMEOUT 60)
endfunction()
