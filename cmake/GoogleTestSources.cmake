# GoogleTest: the system's package, or, for a cross build that has none for its target, built here
# from Debian's googletest sources (/usr/src/googletest) with the project's compiler.
find_package(GTest QUIET)
if(NOT GTest_FOUND)
    set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for builds without a GTest package")
    if(NOT EXISTS ${GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest not found: install libgtest-dev (or googletest for its sources)")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Recent sources name their targets GTest::... themselves.
    foreach(name gtest gtest_main gmock gmock_main)
        if(NOT TARGET GTest::${name})
            add_library(GTest::${name} ALIAS ${name})
        endif()
    endforeach()
endif()
