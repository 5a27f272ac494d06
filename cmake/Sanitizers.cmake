# The native configuration checks the portable core with AddressSanitizer and
# UndefinedBehaviorSanitizer; any report ends the process with an error.
option(VIDKILN_SANITIZE "Build native code with ASan and UBSan" ON)

if(VIDKILN_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
