# find_package(Sylva): the program as the imported target Sylva::sylva, and sylva_add_docs()
# (SylvaAddDocs.cmake) to give a project a target that documents its sources.
if(CMAKE_VERSION VERSION_LESS 3.20)
    set(Sylva_FOUND FALSE)
    set(Sylva_NOT_FOUND_MESSAGE "Sylva's CMake package needs CMake 3.20 or newer")
    return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/SylvaTargets.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/SylvaAddDocs.cmake)
