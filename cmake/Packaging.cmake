# The Debian package: `cmake --build build --target package` (or `cpack -G DEB` in the build
# folder) gives qmvvlt_<version>_<arch>.deb. scripts/package.sh configures a build for /usr and
# makes it from a clean tree.
set(QMVVLT_MAINTAINER "Varentis Solutions <support@varentis.com>")

# Debian wants a copyright file and a compressed changelog in the package's doc folder.
set(QMVVLT_DEBIAN_DIR "${CMAKE_BINARY_DIR}/debian")
string(TIMESTAMP QMVVLT_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in "${QMVVLT_DEBIAN_DIR}/changelog" @ONLY)
add_custom_command(
  OUTPUT "${QMVVLT_DEBIAN_DIR}/changelog.gz" COMMAND gzip -9nkf "${QMVVLT_DEBIAN_DIR}/changelog"
  DEPENDS "${QMVVLT_DEBIAN_DIR}/changelog"
)
add_custom_target(debian_changelog ALL DEPENDS "${QMVVLT_DEBIAN_DIR}/changelog.gz")
install(FILES "${QMVVLT_DEBIAN_DIR}/changelog.gz" ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qmvvlt
)
# lintian's notes that do not apply to this package, each with its reason.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME qmvvlt
)

# The machine scope of the configuration store is a conffile: a dealer's texts in it survive an
# upgrade.
file(WRITE "${QMVVLT_DEBIAN_DIR}/conffiles" "/etc/qmvvlt/machine.ini\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qmvvlt)
set(CPACK_PACKAGE_VENDOR "Varentis Solutions")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${QMVVLT_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "customer programming software for QMV410 two-way radios")
# Lines of at most 80 characters, as Debian's tools want them.
set(CPACK_PACKAGE_DESCRIPTION
    "Reads a QMV410 or QMV410 M radio's configuration into a profile, edits it\n\
within the model's limits, saves it as a .lam file, writes it to one radio\n\
after another, resets a radio, captures another radio's ID and prints reports.\n\
.\n\
The package holds the desktop program (qmvvlt), the command-line program\n\
(qmvvlt-cli), a virtual radio for trying the programs without hardware\n\
(qmvvlt-radiosim), and the udev rule that gives the programming cable to the\n\
dialout group."
)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QMVVLT_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QMVVLT_HOMEPAGE}")
# The libraries come from dpkg-shlibdeps; Qt's platform plugins, its SVG plugins (the icons
# are SVG) and its SQL drivers (the register: SQLite on this computer, PostgreSQL when stations
# share one) are loaded, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${QMVVLT_DEBIAN_DIR}/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_QMVVLT_STRIP "${CMAKE_STRIP}")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/StripNotes.cmake)
include(CPack)
