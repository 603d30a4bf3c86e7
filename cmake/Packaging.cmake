# The Debian package of the program and its companion tools (scripts/package
# builds it): whatever the install rules install, with the shared libraries it
# needs found by dpkg-shlibdeps and what it starts at run time named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrun-eventcontroller)
set(CPACK_PACKAGE_VENDOR Kestrun)
set(KESTRUN_PACKAGE_MAINTAINER "Seed 172934b1 maintainers <maintainers@users.noreply.c-seed-172934b1.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT "${KESTRUN_PACKAGE_MAINTAINER}")
# The Homepage field is the project's HOMEPAGE_URL.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tray companion that runs rules on the calls of the OrvixIt! softphone")
# Lines of at most 79 columns once dpkg has indented them.
set(CPACK_PACKAGE_DESCRIPTION
    "The Kestrun Event Controller for OrvixIt! lives in the notification area.\n"
    "It watches every line of the OrvixIt! softphone over the session bus,\n"
    "offers each call state to the user's ordered rules and runs their action\n"
    "sequences: notification windows, HTML messages, programs, documents,\n"
    "commands to other applications and call control. It starts with the\n"
    "desktop session.\n"
    "\n"
    "Comes with orvix-linesim, a simulated softphone for trying rules without\n"
    "one, orvix-baresip, which puts a SIP account through baresip in the\n"
    "softphone's place, and kestrun-command-sink, a receiver of the commands\n"
    "the program sends to other applications.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The autostart entry goes to /etc, outside the prefix: installing into a staging
# root keeps every absolute path inside the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION comm)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program starts at run time, which no library link names: the session
# bus it lives on, and xdg-open and xdg-email for documents and mail. (The browser
# engine's helper process and Qt's X11 and SVG plugins come with the libraries.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "default-dbus-session-bus | dbus-session-bus, xdg-utils")
# An administrator's change to the autostart entry (Hidden=true keeps the program
# from starting for everyone) survives updates of the package.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles "/etc/xdg/autostart/kestrun-eventcontroller.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_BINARY_DIR}/debian/conffiles)
# orvix-baresip, the line manager for a real SIP account, drives baresip; most
# Linux desktops have no other softphone to watch.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "baresip-core")
# The tray needs a notification area, which some desktops add with an extension.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gnome-shell-extension-appindicator")

include(CPack)
