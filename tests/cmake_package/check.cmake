# Configures the project beside this script against the Sylva installed in PREFIX, builds its
# documentation target, and checks that it runs when a header changes and only then.
# cmake -DPREFIX=<install prefix> -DWORK=<scratch directory> -DGENERATOR=<generator> -P check.cmake
file(REMOVE_RECURSE ${WORK})
file(COPY ${CMAKE_CURRENT_LIST_DIR}/CMakeLists.txt ${CMAKE_CURRENT_LIST_DIR}/include
     DESTINATION ${WORK}/source)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE out)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN} failed (${status}):\n${out}")
    endif()
    set(out "${out}" PARENT_SCOPE)
endfunction()

function(expect_page name text)
    set(page "${WORK}/build/html/Garden/SYLVA_${name}.html")
    if(NOT EXISTS ${page})
        message(FATAL_ERROR "no page ${page}")
    endif()
    file(READ ${page} content)
    string(FIND "${content}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${page} does not say \"${text}\"")
    endif()
endfunction()

run(${CMAKE_COMMAND} -S ${WORK}/source -B ${WORK}/build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build ${WORK}/build --target garden_docs)
expect_page(WaterBeds "Waters every bed of the garden.")

# A new declaration in a header: the target runs again.
file(APPEND ${WORK}/source/include/garden.h "/// Cuts the hedge.\nvoid CutHedge(void);\n")
run(${CMAKE_COMMAND} --build ${WORK}/build --target garden_docs)
expect_page(CutHedge "Cuts the hedge.")
# Nothing changed: it does not.
run(${CMAKE_COMMAND} --build ${WORK}/build --target garden_docs)
string(FIND "${out}" "Documenting the garden" at)
if(NOT at EQUAL -1)
    message(FATAL_ERROR "the documentation ran again with nothing changed:\n${out}")
endif()
