# The Debian package of the installed tree (scripts/package builds it).
set(CPACK_PACKAGE_NAME karvcontrol)
# All four parts: CPack would otherwise drop the last.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KarvControl maintainers")
set(CPACK_PACKAGE_CONTACT "KarvControl maintainers <maintainers@karvcontrol.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION "\
Composes, sends and reads back the binary commands of a Karvel 2 unit on a
serial port (RS-232, or RS-485 through a converter switched by RTS): currents,
ramps, microstepping, switches, encoder, alarms, CAN, PID, motion commands and
status queries. Also holds karvctl, which queries, sends commands to and
flashes units from the command line (several in parallel), and karvel-sim, a
simulated unit on a pseudo-terminal.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps; the plugins the window loads at run
# time (display platforms, the SVG icon) are named here, and so is the plot
# window's library, whose Qt 5 build of the same name must not stand in.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libqcustomplot2.1-qt6")

include(CPack)
