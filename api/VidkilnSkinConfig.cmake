# find_package(VidkilnSkin) for a program that wants the Vidkiln skin engine:
# Vidkiln::skin is vidkiln-skin.dll with its import library, and, for
# MinGW-w64 programs, Vidkiln::skin-static the static library with the
# system libraries it needs.
include(CMakeFindDependencyMacro)
find_dependency(Threads)
include(${CMAKE_CURRENT_LIST_DIR}/VidkilnSkinTargets.cmake)

# MSVC reads no MinGW import library: make one from the module definition
# the SDK carries, once per build folder.
if(MSVC)
    get_filename_component(_vidkilnSkinRoot ${CMAKE_CURRENT_LIST_DIR}/../../.. ABSOLUTE)
    set(_vidkilnSkinLib ${CMAKE_CURRENT_BINARY_DIR}/vidkiln-skin.lib)
    if(NOT EXISTS ${_vidkilnSkinLib})
        get_filename_component(_vidkilnSkinTools ${CMAKE_LINKER} DIRECTORY)
        find_program(_vidkilnSkinLibTool lib.exe HINTS ${_vidkilnSkinTools} REQUIRED)
        execute_process(COMMAND ${_vidkilnSkinLibTool} /nologo /machine:x64
                                /def:${_vidkilnSkinRoot}/lib/vidkiln-skin.def /out:${_vidkilnSkinLib}
                        RESULT_VARIABLE _vidkilnSkinMade)
        if(NOT _vidkilnSkinMade EQUAL 0)
            message(FATAL_ERROR "VidkilnSkin: no import library could be made from vidkiln-skin.def")
        endif()
    endif()
    set_target_properties(Vidkiln::skin PROPERTIES IMPORTED_IMPLIB ${_vidkilnSkinLib})
    foreach(_config RELEASE DEBUG RELWITHDEBINFO MINSIZEREL NOCONFIG)
        set_property(TARGET Vidkiln::skin PROPERTY IMPORTED_IMPLIB_${_config} ${_vidkilnSkinLib})
    endforeach()
endif()
