# GoogleTest from Debian's source package, built with the project's own
# compiler for both configurations.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# vidkiln_test(<name> [SERIAL] [DPI <n>] SOURCES ... LIBS ...): one test
# executable whose cases are each a ctest test; Windows executables are listed
# through Wine when ctest starts. SERIAL keeps its cases from running beside
# any other test (for cases that share files or processes with each other).
# DPI runs the cases, DPI-aware, under a Wine prefix of their own whose screen
# is set to n dots per inch (the system's scaling: 120 is 125 %, 144 is 150 %).
function(vidkiln_test name)
    cmake_parse_arguments(T "SERIAL" "DPI" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    vidkiln_warnings(${name})
    if(T_DPI)
        vidkiln_dpi_aware(${name})
        if(CMAKE_CROSSCOMPILING)
            set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
                "${PROJECT_SOURCE_DIR}/scripts/wine-exec;--dpi;${T_DPI};${VIDKILN_WINE_DIR}-dpi${T_DPI}")
        endif()
    endif()
    set(properties TIMEOUT 300)
    if(T_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES ${properties})
endfunction()
