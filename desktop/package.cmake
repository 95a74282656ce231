# The Debian package, made by CPack from the install rules (desktop/), into
# the build folder:  cd build && cpack   (tools/package.sh does it all).
# Everything goes under /usr; Depends is worked out by dpkg-shlibdeps from
# the libraries the program really links.

# The words that describe the program, for the catalogue entry, the menu
# entry and the package alike (lines of at most 79 characters).
set(QUENNIX_SUMMARY "Count the seconds left until a chosen time")
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
# The project has no public home or mailbox yet: a package is maintained by
# whoever builds it, taken as Debian's own tools take it (DEBFULLNAME and
# DEBEMAIL, else EMAIL). Without them it is a local build, with a mailbox
# under ".invalid", which is reserved never to be anyone's (RFC 2606): Debian
# wants an address, and no mail should go anywhere.
set(QUENNIX_MAINTAINER "$ENV{DEBFULLNAME}")
if(NOT QUENNIX_MAINTAINER)
    set(QUENNIX_MAINTAINER "Quennix local build")
endif()
set(mailbox "$ENV{DEBEMAIL}")
if(NOT mailbox)
    set(mailbox "$ENV{EMAIL}")
endif()
if(NOT mailbox)
    set(mailbox "local-build@quennix.invalid")
endif()
if(mailbox MATCHES "<") # DEBEMAIL may hold the name too
    set(QUENNIX_MAINTAINER "${mailbox}")
else()
    string(APPEND QUENNIX_MAINTAINER " <${mailbox}>")
endif()
set(CPACK_PACKAGE_CONTACT "${QUENNIX_MAINTAINER}")
# Installed with DESTDIR under /usr, so the menu entry's Exec names
# /usr/bin/quennix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Qt's Wayland plugin, for a Wayland session without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
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
