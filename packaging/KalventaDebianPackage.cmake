# The Debian package of Kalventa, built by CPack's DEB generator.

set(KALVENTA_PACKAGE_MAINTAINER "Kalventa maintainers <maintainers@kalventa.org>"
    CACHE STRING "Name and e-mail address of the Debian package's maintainer")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalventa)
set(CPACK_PACKAGE_VENDOR "Kalventa maintainers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hoist rope and drum calculator")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kalventa (Кальвента) helps a mechanical engineer size a hoist rope and its\n"
    "drum. In one window it checks a rope against the load and the duty class,\n"
    "gives the minimum drum diameter and the maximum drum length for a rope,\n"
    "and computes the rope capacity of a drum with its turns per layer, flange\n"
    "diameter and wall thickness. The window's texts are Russian.")
set(CPACK_PACKAGE_CONTACT "${KALVENTA_PACKAGE_MAINTAINER}")

# Only the program's own component, not the core library's files.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};kalventa;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALVENTA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt, C++ and C libraries the program links, with the versions it needs,
# come from dpkg-shlibdeps. Qt's X11 platform plugin ships in libqt6gui6, and
# the window's font is compiled into the program, so nothing is added by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
