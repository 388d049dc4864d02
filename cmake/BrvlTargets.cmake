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
# by the folder it tests.
function(brvl_folder_tests label)
    cmake_parse_arguments(ARG "" "TIMEOUT" "DEPS;EXTRA_LABELS;ENVIRONMENT" ${ARGN})
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(NOT sources)
        return()
    endif()
    set(target brvl_${label}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} brvl_test_support GTest::gtest GTest::gtest_main)
    set(properties LABELS "${label};${ARG_EXTRA_LABELS}")
    if(ARG_TIMEOUT)
        list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
    endif()
    if(ARG_ENVIRONMENT)
        list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
    gtest_discover_tests(${target}
        PROPERTIES ${properties}
        DISCOVERY_TIMEOUT 60)
endfunction()
