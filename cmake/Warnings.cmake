# High warning levels for every target of the project; VIDKILN_WERROR turns
# them into errors (scripts/test and CI set it).
option(VIDKILN_WERROR "Treat warnings as errors" OFF)

function(vidkiln_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
        -Woverloaded-virtual -Wnull-dereference -Wformat=2 -Wimplicit-fallthrough)
    if(VIDKILN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
