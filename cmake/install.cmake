# Installing like any Unix tool: `cmake --install` puts the program, its manual page and the
# themes where GNUInstallDirs says, and `cpack -G DEB` packs the same files as a Debian package.
include(GNUInstallDirs)

set(SYLVA_THEMES_DESTINATION ${CMAKE_INSTALL_DATADIR}/sylva/themes)
file(GLOB SYLVA_THEMES RELATIVE ${PROJECT_SOURCE_DIR}/themes CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/themes/*.ini)
list(SORT SYLVA_THEMES)

# The manual page names the themes where they are installed, so it is written for this prefix.
set(SYLVA_MAN_PAGE ${PROJECT_BINARY_DIR}/sylva.1)
add_custom_command(OUTPUT ${SYLVA_MAN_PAGE}
    COMMAND sylva_man_page ${SYLVA_MAN_PAGE} ${CMAKE_INSTALL_FULL_DATADIR}/sylva/themes
            ${SYLVA_THEMES}
    DEPENDS sylva_man_page
    COMMENT "Writing the manual page sylva.1"
    VERBATIM)
# Installed compressed, as Debian's policy asks of manual pages: gzip -9n leaves out the name and
# time, so the same page gives the same bytes on every build.
find_program(SYLVA_GZIP gzip REQUIRED)
set(SYLVA_MAN_PAGE_GZ ${SYLVA_MAN_PAGE}.gz)
add_custom_command(OUTPUT ${SYLVA_MAN_PAGE_GZ}
    COMMAND ${SYLVA_GZIP} -9nf -k ${SYLVA_MAN_PAGE}
    DEPENDS ${SYLVA_MAN_PAGE}
    COMMENT "Compressing the manual page"
    VERBATIM)
add_custom_target(sylva_man ALL DEPENDS ${SYLVA_MAN_PAGE} ${SYLVA_MAN_PAGE_GZ})

install(TARGETS sylva EXPORT SylvaTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SYLVA_MAN_PAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
list(TRANSFORM SYLVA_THEMES PREPEND ${PROJECT_SOURCE_DIR}/themes/ OUTPUT_VARIABLE SYLVA_THEME_FILES)
install(FILES ${SYLVA_THEME_FILES} DESTINATION ${SYLVA_THEMES_DESTINATION})

# The CMake package: find_package(Sylva) gives the imported target Sylva::sylva and
# sylva_add_docs(). Its files name the program relative to their own place, so a staged or
# moved install finds itself; they are the same on every machine, hence in the data directory.
include(CMakePackageConfigHelpers)
set(SYLVA_CMAKE_DESTINATION ${CMAKE_INSTALL_DATADIR}/sylva/cmake)
install(EXPORT SylvaTargets NAMESPACE Sylva:: DESTINATION ${SYLVA_CMAKE_DESTINATION})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/SylvaConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/SylvaConfig.cmake
              ${PROJECT_SOURCE_DIR}/cmake/SylvaAddDocs.cmake
              ${PROJECT_BINARY_DIR}/SylvaConfigVersion.cmake
        DESTINATION ${SYLVA_CMAKE_DESTINATION})
# The same package in the build tree, naming the program built there: a project configured with
# -DCMAKE_PREFIX_PATH=<this build directory> uses Sylva without installing it.
export(EXPORT SylvaTargets NAMESPACE Sylva:: FILE ${PROJECT_BINARY_DIR}/SylvaTargets.cmake)
foreach(file SylvaConfig.cmake SylvaAddDocs.cmake)
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${file} ${PROJECT_BINARY_DIR}/${file} COPYONLY)
endforeach()

# The package installs below the prefix the build was configured with, so that the paths in the
# manual page hold: configure with -DCMAKE_INSTALL_PREFIX=/usr for a system package.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_NAME sylva)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "documentation generator for C and C++")
# A packager names themselves with -DCPACK_PACKAGE_CONTACT="Name <address>"; the reserved
# domain of the default says that no real address has been given.
if(NOT DEFINED CPACK_PACKAGE_CONTACT)
    set(CPACK_PACKAGE_CONTACT "Sylva maintainers <maintainers@sylva.invalid>")
endif()
# The lines below the summary (which CPack puts first); Debian reads at most 80 characters a line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Sylva finds the documentation comments in C and C++ sources, in its own
marker blocks or in the Javadoc/Doxygen style, and writes linked HTML pages:
one page per item, a project index with a frame set, a master index of every
project of the output directory and, when asked, a search that works offline.
It runs as a batch command and as a desktop window.")
set(CPACK_STRIP_FILES ON)

# What Debian asks of every package beside its files: the copyright, and a changelog compressed
# with gzip -9n (dated by SOURCE_DATE_EPOCH when it is set, so that a build can be repeated).
string(TIMESTAMP SYLVA_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/cmake/debian/changelog.in ${PROJECT_BINARY_DIR}/changelog
               @ONLY)
set(SYLVA_CHANGELOG_GZ ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${SYLVA_CHANGELOG_GZ}
    COMMAND ${SYLVA_GZIP} -9nf -k ${PROJECT_BINARY_DIR}/changelog
    DEPENDS ${PROJECT_BINARY_DIR}/changelog
    COMMENT "Compressing the changelog"
    VERBATIM)
add_custom_target(sylva_changelog ALL DEPENDS ${SYLVA_CHANGELOG_GZ})
set(SYLVA_DOC_DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sylva)
install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright ${SYLVA_CHANGELOG_GZ}
        DESTINATION ${SYLVA_DOC_DESTINATION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The libraries the program links (the C++ runtime, SQLite and xxHash for the cache of incremental
# runs, md4c for Markdown in comments, mimalloc for memory when it is linked, Qt when the window
# is built) become the package's dependencies; the cache's and md4c are named as well, so that a
# package built without dpkg-shlibdeps still asks for them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqlite3-0, libxxhash0, libmd4c0")
set(CPACK_GENERATOR DEB)
include(CPack)
