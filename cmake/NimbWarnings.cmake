# Warnings for our own targets. Third-party headers come in as SYSTEM includes and stay quiet.
function(nimb_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor
        -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wimplicit-fallthrough)
    if(NIMB_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
