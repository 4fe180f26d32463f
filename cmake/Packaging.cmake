# One Debian package of everything `cmake --install` puts in place: `cpack -G DEB` in a Release build.
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brisken Team")
set(CPACK_PACKAGE_CONTACT "Brisken Team <support@corvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "channel-database editor and firmware download tools for receivers")
set(CPACK_PACKAGE_INSTALL_DIRECTORY corvane)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brisken Team <support@corvane.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://corvane.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary first and indents the extended description itself; an empty line parts it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Corvane edits the channel database of digital satellite and cable receivers
(satellites, transponders and programs) in the receivers' own binary layouts
and exchanges it with XML Spreadsheet 2003 workbooks; corvane-cli does its
conversions from scripts.

Kestrun_boot is a one-window front-end that loads firmware into a receiver
over its serial line, the network or USB, through the console tool boot.exe,
which is installed as well.")

include(CPack)
