# vidkiln_dpi_aware(<target>): the program says in its manifest that it draws
# for the system DPI itself, so the system neither scales its windows as
# bitmaps nor tells it 96 when the screen is set to 125 % or more.
set(VIDKILN_DPI_MANIFEST ${CMAKE_CURRENT_LIST_DIR}/DpiAware.manifest)
# Resource 1 of type 24 is the manifest the loader reads when the program
# starts.
set(VIDKILN_DPI_RESOURCE_SCRIPT ${CMAKE_BINARY_DIR}/DpiAware.rc)
file(CONFIGURE OUTPUT ${VIDKILN_DPI_RESOURCE_SCRIPT} CONTENT "1 24 \"${VIDKILN_DPI_MANIFEST}\"\n")

function(vidkiln_dpi_aware target)
    if(WIN32)
        # Source properties belong to the directory of the target using them.
        set_source_files_properties(${VIDKILN_DPI_RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS ${VIDKILN_DPI_MANIFEST})
        target_sources(${target} PRIVATE ${VIDKILN_DPI_RESOURCE_SCRIPT})
    endif()
endfunction()
