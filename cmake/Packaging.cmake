# SPDX-License-Identifier: GPL-3.0-or-later
# A Debian package of what `cmake --install` lays out: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrane)
set(CPACK_PACKAGE_VENDOR "The Kestrane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# The long description, below the summary, in lines of at most 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kestrane lists the .iff object files in the object folders of the PC game\n"
  "The Sims and edits each object's catalog name, description, price, Disabled\n"
  "flag and nine catalog sort fields. It keeps named sort presets and a folder\n"
  "list, deletes object files to the trash, and keeps the former contents of\n"
  "every file it changes, so that each change can be taken back.\n"
  "\n"
  "kestrane-cli offers the same for scripts and batch work.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": that section is for the games themselves, installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# A maintainer address is required. The project owns no domain, so by default it names one in
# the reserved top-level domain "invalid", which is nobody's; a packager sets their own.
set(KESTRANE_MAINTAINER "The Kestrane developers <kestrane@kestrane.invalid>" CACHE STRING
  "The Debian package's Maintainer field")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KESTRANE_MAINTAINER}")
# The dependencies are those of the shared libraries the programs use (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The history's journal needs Qt's SQLite driver, a plugin that dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
if(KESTRANE_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTRANE_HOMEPAGE}")
endif()
include(CPack)

# A stripped install (as CPack's) drops the compilers' notes too, as Debian's dh_strip does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program kestrane kestrane-cli)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\"
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  endif()")
