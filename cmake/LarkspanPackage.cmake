# The Debian package that scripts/package makes with CPack: what the install rules put in place
# (the program and its desktop files, never the tests or benchmarks), with its dependencies
# read from the libraries the program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME larkspan)
set(CPACK_PACKAGE_VENDOR "Larkspan developers")
set(CPACK_PACKAGE_CONTACT "${LARKSPAN_PACKAGE_MAINTAINER}")
# Debian shows each line indented by one space, and wants them under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Larkspan is a tabbed web browser whose main job is to capture the result
pages of an online business directory. Every listing on a page becomes a
line of fourteen fields (name, phone, e-mail, address, heading, description,
website, map position and links); the next result page is opened by itself,
and the lines are saved as CSV, JSON Lines or an Excel workbook.

The same capture runs without a window as the command 'larkspan capture'.
Every run is kept in a journal, from which an interrupted capture is resumed,
and capture profiles describe the markup of other directories.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The journal's SQLite driver is a plugin Qt loads at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6sql6-sqlite)
include(CPack)
