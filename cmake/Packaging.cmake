# A Debian package of what `cmake --install` lays out: cpack -G DEB in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrane)
set(CPACK_PACKAGE_VENDOR "The Kestrane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kestrane lists the .iff object files in the object folders of the PC game The Sims and "
  "edits each object's catalog name, description, price, Disabled flag and catalog sorts. "
  "It keeps named sort presets and a folder list. kestrane-cli offers the same for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# A maintainer address is required; the project owns no domain, so none is claimed.
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kestrane developers <kestrane@localhost>")
# The dependencies are those of the shared libraries the programs use (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The history's journal needs Qt's SQLite driver, a plugin that dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
if(KESTRANE_HOMEPAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KESTRANE_HOMEPAGE}")
endif()
include(CPack)
