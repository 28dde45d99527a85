# `cpack -G DEB`: one Debian package with the reader, kvxtool and the unzip library. Its
# dependencies are read off the installed binaries, and name the sandbox's programs.
set(CPACK_PACKAGE_NAME folivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Reader for the Korvex e-magazine's issues, and kvxtool")
set(CPACK_PACKAGE_DESCRIPTION
    "Folivo unpacks a Korvex issue (.kvx, a zip archive of web pages) into a private working folder "
    "and shows it in a skinned window. kvxtool lists, extracts and joins zip archives from the command line.")
set(CPACK_PACKAGE_CONTACT "Folivo developers <folivo@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by the shared-library scan: the page engine's sandbox runs bubblewrap and
# xdg-dbus-proxy, and the unzip library, loaded at run time, needs Nettle for AES.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "bubblewrap, xdg-dbus-proxy, libnettle8")
set(CPACK_STRIP_FILES ON)
# The desktop's caches (file types, launchers by file type, icons) are rebuilt by the packages that
# own them, through their file triggers; naming the folders here asks for that explicitly.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/triggers)
include(CPack)
