# sylva_add_docs(<target> [<file or folder>...] [ALL] [WORKING_DIRECTORY <dir>] [COMMENT <text>]
#                [STYLE doxygen|default] [PROJECT <name>] [OUTPUT <dir>] [DOXYFILE <file>]
#                [OPTIONS <sylva option>...])
#
# Adds the target <target>, which documents the files and folders given (relative ones taken
# against the current source directory) with `sylva -FORCE` into OUTPUT (default: "html" in the
# current binary directory) as the project PROJECT (default: PROJECT_NAME). ALL adds it to the
# default build. STYLE chooses how the sources are documented: doxygen comments, or the default
# marker blocks; without it the configuration (or the Doxyfile) decides. DOXYFILE reads the
# project's Doxyfile; the files, PROJECT and OUTPUT given beside it win over its INPUT,
# PROJECT_NAME and OUTPUT_DIRECTORY. OPTIONS are passed to sylva last, as they are
# (-WERROR, -EXCLUDE=..., -PATTERNS=...). sylva runs in WORKING_DIRECTORY (default: the current
# source directory) and keeps its cache in the current binary directory.
#
# The target runs again when a file given, a file below a folder given (the folders are listed
# again whenever the build is), the Doxyfile or sylva itself changes. Given no files, the inputs
# are the Doxyfile's, which CMake cannot know: the target then runs on every build, which costs
# little, as a run with nothing changed writes nothing.
function(sylva_add_docs target)
    cmake_parse_arguments(PARSE_ARGV 1 SYLVA "ALL"
                          "WORKING_DIRECTORY;COMMENT;STYLE;PROJECT;OUTPUT;DOXYFILE" "OPTIONS")
    if(NOT TARGET Sylva::sylva)
        message(FATAL_ERROR "sylva_add_docs(${target}): no target Sylva::sylva; find_package(Sylva) first")
    endif()
    if(NOT SYLVA_UNPARSED_ARGUMENTS AND NOT SYLVA_DOXYFILE)
        message(FATAL_ERROR "sylva_add_docs(${target}): name the files or folders to document, or a DOXYFILE")
    endif()
    if(NOT SYLVA_WORKING_DIRECTORY)
        set(SYLVA_WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    endif()

    set(command $<TARGET_FILE:Sylva::sylva> -FORCE
        -CACHE=${CMAKE_CURRENT_BINARY_DIR}/${target}.sylva-cache)
    set(depends $<TARGET_FILE:Sylva::sylva>)
    if(SYLVA_DOXYFILE)
        cmake_path(ABSOLUTE_PATH SYLVA_DOXYFILE BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND command -DOXYFILE=${SYLVA_DOXYFILE})
        list(APPEND depends ${SYLVA_DOXYFILE})
    else()
        # Without a Doxyfile nothing else names the project and the output.
        if(NOT SYLVA_PROJECT)
            set(SYLVA_PROJECT ${PROJECT_NAME})
        endif()
        if(NOT SYLVA_OUTPUT)
            set(SYLVA_OUTPUT html)
        endif()
    endif()
    if(SYLVA_PROJECT)
        list(APPEND command -PROJECT=${SYLVA_PROJECT})
    endif()
    if(SYLVA_OUTPUT)
        cmake_path(ABSOLUTE_PATH SYLVA_OUTPUT BASE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        list(APPEND command -OUT=${SYLVA_OUTPUT})
    endif()
    if(SYLVA_STYLE STREQUAL "doxygen")
        list(APPEND command -STYLE=doxygen)
    elseif(SYLVA_STYLE STREQUAL "default")
        list(APPEND command -STYLE=sylva)
    elseif(SYLVA_STYLE)
        message(FATAL_ERROR "sylva_add_docs(${target}): STYLE is doxygen or default, not \"${SYLVA_STYLE}\"")
    endif()
    foreach(source IN LISTS SYLVA_UNPARSED_ARGUMENTS)
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
        list(APPEND command -SCAN=${source})
        if(IS_DIRECTORY ${source})
            file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false ${source}/*)
            list(APPEND depends ${files})
        else()
            list(APPEND depends ${source})
        endif()
    endforeach()
    list(APPEND command ${SYLVA_OPTIONS})
    if(NOT SYLVA_COMMENT)
        set(SYLVA_COMMENT "Documenting ${target} with Sylva")
    endif()
    set(all)
    if(SYLVA_ALL)
        set(all ALL)
    endif()

    if(NOT SYLVA_UNPARSED_ARGUMENTS)
        add_custom_target(${target} ${all}
            COMMAND ${command}
            WORKING_DIRECTORY ${SYLVA_WORKING_DIRECTORY}
            DEPENDS ${depends}
            COMMENT ${SYLVA_COMMENT}
            VERBATIM)
        return()
    endif()
    # The stamp is written only after a run that succeeded, so that a failed one runs again.
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.sylva-stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${command}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        WORKING_DIRECTORY ${SYLVA_WORKING_DIRECTORY}
        DEPENDS ${depends}
        COMMENT ${SYLVA_COMMENT}
        VERBATIM)
    add_custom_target(${target} ${all} DEPENDS ${stamp})
endfunction()
