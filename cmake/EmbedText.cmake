# Text the browser carries in its binary: the page scripts (core/scripts/*.js) and the page style
# sheets (core/pages/styles/*.css). At build time each file is checked — a script for syntax with
# `node --check`, a style sheet for colours written out instead of taken from the palette's custom
# properties — and each kind is written into one C++ source as raw string literals, one
# `std::string_view` per file named after the file, without its final line break
# (core/scripts/find.js -> nimb::PageScripts::source::find, core/pages/styles/home.css ->
# nimb::PageStyles::home).
#
# Included from a CMakeLists.txt it defines nimb_embed_scripts() and nimb_embed_styles(); run with
# `cmake -P` it generates.

if(CMAKE_SCRIPT_MODE_FILE)
    # cmake -DOUTPUT=<file.cpp> -DNAMESPACE=<C++ namespace> -DORIGIN=<what the files are>
    #       -DFILES=<a;b> [-DSTYLES=ON] -P EmbedText.cmake
    set(delimiter "nimbtext")
    set(code "// Generated from ${ORIGIN} by cmake/EmbedText.cmake. Do not edit.\n\n")
    string(APPEND code "#include <string_view>\n\nnamespace ${NAMESPACE} {\n")
    foreach(file IN LISTS FILES)
        get_filename_component(name "${file}" NAME_WE)
        if(NOT name MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
            message(FATAL_ERROR "${file}: an embedded file's name must be a C++ identifier")
        endif()
        file(READ "${file}" text)
        if(text MATCHES "\\)${delimiter}\"")
            message(FATAL_ERROR "${file} contains the raw-string delimiter )${delimiter}\"")
        endif()
        if(STYLES)
            # A style sheet takes its colours from the page frame's custom properties, var(--name),
            # so that the palette is written once; a hex colour here would be a second copy.
            string(REGEX MATCH "#[0-9A-Fa-f][0-9A-Fa-f][0-9A-Fa-f]+([^-_0-9A-Za-z]|$)" colour "${text}")
            if(colour)
                string(FIND "${text}" "${colour}" at)
                string(SUBSTRING "${text}" 0 ${at} before)
                string(REGEX MATCHALL "\n" breaks "${before}")
                list(LENGTH breaks line)
                math(EXPR line "${line} + 1")
                string(REGEX REPLACE "[^0-9A-Fa-f]$" "" colour "${colour}")
                message(FATAL_ERROR "${file}:${line}: the colour ${colour} is written out; take it from "
                                    "the palette as var(--name), one of PageFrame::properties")
            endif()
        endif()
        # The text without its final line break, so that assembled texts end exactly where what
        # follows them begins.
        string(REGEX REPLACE "[\r\n]+$" "" text "${text}")
        string(APPEND code "\nextern const std::string_view ${name};\n")
        string(APPEND code "const std::string_view ${name} = R\"${delimiter}(${text})${delimiter}\";\n")
    endforeach()
    string(APPEND code "\n} // namespace ${NAMESPACE}\n")
    # Only touch the output when it changes, so that an unchanged file rebuilds nothing.
    if(EXISTS "${OUTPUT}")
        file(READ "${OUTPUT}" previous)
        if(previous STREQUAL code)
            return()
        endif()
    endif()
    file(WRITE "${OUTPUT}" "${code}")
    return()
endif()

set(NIMB_EMBED_TEXT_TOOL ${CMAKE_CURRENT_LIST_FILE})

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
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DNAMESPACE=nimb::PageScripts::source
                "-DORIGIN=core/scripts/*.js" "-DFILES=${scripts}" -P ${NIMB_EMBED_TEXT_TOOL}
        DEPENDS ${scripts} ${NIMB_EMBED_TEXT_TOOL}
        COMMENT "Checking and embedding the page scripts"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()

# Checks every .css file of `directory` for written-out colours and embeds them all into `target`.
function(nimb_embed_styles target directory)
    file(GLOB styles CONFIGURE_DEPENDS ${directory}/*.css)
    list(SORT styles)
    set(output ${CMAKE_CURRENT_BINARY_DIR}/EmbeddedStyles.cpp)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DOUTPUT=${output} -DNAMESPACE=nimb::PageStyles
                "-DORIGIN=core/pages/styles/*.css" "-DFILES=${styles}" -DSTYLES=ON -P ${NIMB_EMBED_TEXT_TOOL}
        DEPENDS ${styles} ${NIMB_EMBED_TEXT_TOOL}
        COMMENT "Checking and embedding the page styles"
        VERBATIM)
    target_sources(${target} PRIVATE ${output})
endfunction()
