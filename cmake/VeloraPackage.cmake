# The Debian package: `cpack -G DEB` in a build tree makes velora_<version>_<arch>.deb with what
# `cmake --install` puts in place. dpkg-shlibdeps finds the Qt libraries the programs link; Qt's
# Italian translations are loaded at run time, so they are named by hand.
set(CPACK_PACKAGE_NAME velora)
set(CPACK_PACKAGE_VENDOR "Velora")
# Debian's tools refuse a maintainer address on a host that cannot receive mail (localhost).
set(VELORA_PACKAGE_CONTACT "Velora developers <velora@example.org>" CACHE STRING
    "Maintainer of the Debian package: name <address>")
set(CPACK_PACKAGE_CONTACT "${VELORA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# Debian wants the lines of the long description within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Compose the pages of two-row LED matrix signs, preview them as the sign shows\n\
them, save them as .inf sequence files and send them to the sign over a serial\n\
port. Includes velora-cli for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Wayland desktops run the program natively with it, others through XWayland without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# /usr/share/doc/velora: the copyright notice and the changelog (see VeloraPackageDoc.cmake).
# The changelog's date is the configure time, or SOURCE_DATE_EPOCH for a reproducible package.
string(TIMESTAMP VELORA_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian.in
               ${PROJECT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
set(CPACK_VELORA_COPYRIGHT ${PROJECT_SOURCE_DIR}/packaging/copyright)
set(CPACK_VELORA_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.Debian)
# A version without a Debian revision makes a native package, whose changelog is changelog.gz;
# with a revision it is changelog.Debian.gz.
if(CPACK_DEBIAN_PACKAGE_RELEASE)
    set(CPACK_VELORA_CHANGELOG_NAME changelog.Debian.gz)
else()
    set(CPACK_VELORA_CHANGELOG_NAME changelog.gz)
endif()
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/VeloraPackageDoc.cmake)
include(CPack)
