# The Debian package, made by CPack from the install rules (desktop/), into
# the build folder:  cd build && cpack   (tools/package.sh does it all).
# Everything goes under /usr; Depends is worked out by dpkg-shlibdeps from
# the libraries the program really links.

# The words that describe the program, for the catalogue entry, the menu
# entry and the package alike (lines of at most 79 characters).
set(QUENNIX_SUMMARY "Count the seconds left until a chosen time")
# Where the project lives, after the id the desktop knows it by.
set(QUENNIX_HOMEPAGE https://github.com/quennix/quennix)
set(QUENNIX_ABOUT
    "Quennix shows the whole seconds left until a base time in a small window"
    "that stays above the others, in the largest font that fits, redrawn every"
    "second. Once the base time has passed the count goes negative.")
set(QUENNIX_FEATURES
    "A framed window with a menu, or a title-less one showing the count alone"
    "Drag either window to move it, double-click it to switch between them"
    "Two calculators counting to 1 January 2000: when a given count will be reached, and the count at a given time"
    "Any font face, bold or italic")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quennix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quennix authors")
set(CPACK_PACKAGE_CONTACT "The Quennix authors <quennix@users.noreply.github.com>")
# Installed with DESTDIR under /usr, so the menu entry's Exec names
# /usr/bin/quennix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUENNIX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The same words: the summary, then the paragraph and the features.
list(TRANSFORM QUENNIX_FEATURES PREPEND " * " OUTPUT_VARIABLE features)
string(REPLACE "2000: " "2000:\n   " features "${features}")
list(JOIN features "\n" features)
list(JOIN QUENNIX_ABOUT "\n" about)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${QUENNIX_SUMMARY}\n${about}\n\n${features}\n")
include(CPack)
