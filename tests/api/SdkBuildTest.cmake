# The SDK as a program's developer gets it: installed from this build into a
# folder of its own, then the example built against it by find_package alone,
# once with the DLL and once with the static library. The DLL build must
# import vidkiln-skin.dll and carry it beside the program; the static one must
# not need it.
# cmake -DBUILD=<build> -DEXAMPLE=<example source> -DTOOLCHAIN=<file>
#       -DGENERATOR=<generator> -DWORK=<folder> -DOBJDUMP=<objdump> -P SdkBuildTest.cmake
file(REMOVE_RECURSE ${WORK})
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed: ${ARGN}\n${output}")
    endif()
    set(output ${output} PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --component sdk --prefix ${WORK}/sdk)
foreach(static OFF ON)
    set(build ${WORK}/example-${static})
    run(${CMAKE_COMMAND} -S ${EXAMPLE} -B ${build} -G ${GENERATOR} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
        -DCMAKE_PREFIX_PATH=${WORK}/sdk -DSKINNED_WINDOW_STATIC=${static})
    run(${CMAKE_COMMAND} --build ${build})
    run(${OBJDUMP} -p ${build}/skinned-window.exe)
    string(FIND "${output}" "DLL Name: vidkiln-skin.dll" imported)
    if(static AND NOT imported EQUAL -1)
        message(FATAL_ERROR "the statically linked example imports vidkiln-skin.dll")
    endif()
    if(NOT static AND (imported EQUAL -1 OR NOT EXISTS ${build}/vidkiln-skin.dll))
        message(FATAL_ERROR "the example built against the DLL lacks it: ${output}")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
