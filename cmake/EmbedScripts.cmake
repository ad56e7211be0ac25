# The page scripts are real JavaScript files. At build time each one is checked for syntax with
# `node --check` and the lot is written into one C++ source as raw string literals, one
# `std::string_view` per file named after the file (core/scripts/find.js -> nimb::PageScripts::source::find).
#
# Included from a CMakeLists.txt it defines nimb_embed_scripts(); run with `cmake -P` it generates.

if(CMAKE_SCRIPT_MODE_FILE)
    # cmake -DOUTPUT=<file.cpp> -DSCRIPTS=<a.js;b.js> -P EmbedScripts.cmake
    set(delimiter "nimbjs")
    set(code "// Generated from core/scripts/*.js by cmake/EmbedScripts.cmake. Do not edit.\n\n")
    string(APPEND code "#include <string_view>\n\nnamespace nimb::PageScripts::source {\n")
    foreach(script IN LISTS SCRIPTS)
        get_filename_component(name "${script}" NAME_WE)
        if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
            message(FATAL_ERROR "${script}: a page script's file name must be a C++ identifier")
        endif()
        file(READ "${script}" text)
        if(text MATCHES "\\)${delimiter}\"")
            message(FATAL_ERROR "${script} contains the raw-string delimiter )${delimiter}\"")
        endif()
        # The text without its final line break, so that assembled scripts end exactly where the
        # documented suffix begins.
        string(REGEX REPLACE "[\r\n]+$" "" text "${text}")
        string(APPEND code "\nextern const std::string_view ${name};\n")
        string(APPEND code "const std::string_view ${name} = R\"${delimiter}(${text})${delimiter}\";\n")
    endforeach()
    string(APPEND code "\n} // namespace nimb::PageScripts::source\n")
    # Only touch the output when it changes, so that an unchanged script rebuilds nothing.
    if(EXISTS "${OUTPUT}")
        file(READ "${OUTPUT}" previous)
        if(previous STREQUAL code)
            return()
        endif()
    endif()
    file(WRITE "${OUTPUT}" "${code}")
    return()
endif()

set(NIMB_EMBED_SCRIPTS_TOOL ${CMAKE_CURRENT_LIST_FILE})

# Checks every .js file of `directory` and embeds them all into `target`.
function(nimb_embed_scripts target directory)
    find_program(NIMB_NODE NAMES node nodejs REQUIRED)
    file(GLOB scripts CONFIGURE_DEPENDS ${directory}/*.js)
    list(SORT scripts)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/EmbeddedScripts.cpp)
    set(checks)
    foreach(script IN LISTS scripts)
        list(APPEND checks COMMAND ${NIMB_NODE} --check ${script})
    endforeach()
    add_custom_command(
        OUTPUT ${output}
        ${checks}
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} "-DSCRIPTS=${scripts}" -P ${NIMB_EMBED_SCRIPTS_TOOL}
        DEPENDS ${scripts} ${NIMB_EMBED_SCRIPTS_TOOL}
        COMMENT "Checking and embedding the page scripts"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
