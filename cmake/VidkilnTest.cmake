# GoogleTest from Debian's source package, built with the project's own
# compiler for both configurations.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# vidkiln_test(<name> [SERIAL] [HEADLESS] [DPI <n>] [ALONE <filter>] SOURCES ... LIBS ...):
# one test executable whose cases are each a ctest test; Windows executables
# are listed through Wine when ctest starts. SERIAL keeps its cases from
# running beside any other test (for cases that share files or processes with
# each other). HEADLESS says a Windows program shows no window and sends no
# input, so it does not take turns at its Wine folder's display: it runs
# beside the programs that do, its own cases one at a time. DPI runs the
# cases, DPI-aware, under a Wine prefix of their own whose screen is set to n
# dots per inch (the system's scaling: 120 is 125 %, 144 is 150 %).
#
# A Windows program runs all its cases in one Wine process (a Wine start costs
# about half a second, more than most cases), from a setup test <name>.batch;
# each case's ctest test reads its outcome from that run, and runs alone when
# the run did not reach it (see tests/support/batch-case). ALONE names the
# cases, as a GoogleTest filter ("Suite.*:Other.Case"), that must own their
# process, such as start-up and shutdown; VIDKILN_TEST_BATCH=0 in the
# environment runs every case alone.
function(vidkiln_test name)
    cmake_parse_arguments(T "SERIAL;HEADLESS" "DPI;ALONE" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    if(WIN32)
        target_link_libraries(${name} PRIVATE vk_test_support)
    endif()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    # tests/support/ and the fixtures of other test folders.
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    vidkiln_warnings(${name})
    set(properties TIMEOUT 300)
    if(T_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    if(CMAKE_CROSSCOMPILING)
        set(emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
        set(winedir ${VIDKILN_WINE_DIR})
        if(T_DPI)
            vidkiln_dpi_aware(${name})
            set(winedir ${VIDKILN_WINE_DIR}-dpi${T_DPI})
            set(emulator ${PROJECT_SOURCE_DIR}/scripts/wine-exec --dpi ${T_DPI} ${winedir})
        endif()
        # Every program of one Wine folder that shows windows shares its
        # display and desktop: focus, capture and the foreground window are
        # one per desktop, so they run one at a time, whatever -j ctest is
        # given. A headless program only keeps its own runs apart.
        get_filename_component(lock ${winedir} NAME)
        if(T_HEADLESS)
            set(lock ${name})
        endif()
        vidkiln_batch(${name} "${emulator}" "${lock}" "${T_ALONE}" "${T_SERIAL}")
        # A case only reads its outcome from the single run, which needs no
        # turn at the display; one that runs alone takes the lock file first.
        list(APPEND properties FIXTURES_REQUIRED ${name}.batch)
    elseif(T_DPI)
        vidkiln_dpi_aware(${name})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES ${properties})
endfunction()

# The single run of a Windows test program and the cleanup after its cases, so
# a later ctest that skips the run cannot read stale outcomes. Every run of
# the program, whole or one case alone, holds the lock file named `lock`; the
# single run also takes it as a ctest resource lock, so ctest never gives a
# slot to a run that would only wait.
function(vidkiln_batch name emulator lock alone serial)
    set(results ${CMAKE_BINARY_DIR}/tests/${name}.results.xml)
    set(wrapper ${PROJECT_SOURCE_DIR}/tests/support/batch-case ${results})
    if(alone)
        list(APPEND wrapper --alone ${alone})
    endif()
    # GoogleTest under Wine takes a path without a drive as relative.
    list(APPEND wrapper --seen-as Z:${results} --lock ${CMAKE_BINARY_DIR}/tests/locks/${lock})
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${wrapper};${emulator}")
    add_test(NAME ${name}.batch COMMAND ${name})
    add_test(NAME ${name}.batch_cleanup COMMAND ${CMAKE_COMMAND} -E rm -f ${results})
    set_tests_properties(${name}.batch PROPERTIES
        FIXTURES_SETUP ${name}.batch RESOURCE_LOCK ${lock} TIMEOUT 1800)
    set_tests_properties(${name}.batch_cleanup PROPERTIES FIXTURES_CLEANUP ${name}.batch)
    if(serial)
        set_tests_properties(${name}.batch PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()
