# The Debian package: `cpack -G DEB` in a build tree makes velora_<version>_<arch>.deb with what
# `cmake --install` puts in place. dpkg-shlibdeps finds the Qt libraries the programs link; Qt's
# Italian translations are loaded at run time, so they are named by hand.
set(CPACK_PACKAGE_NAME velora)
set(CPACK_PACKAGE_VENDOR "Velora")
set(CPACK_PACKAGE_CONTACT "Velora developers <velora@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Compose the pages of two-row LED matrix signs, preview them as the sign shows them, save\n\
them as .inf sequence files and send them to the sign over a serial port. Includes\n\
velora-cli for scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
# Wayland desktops run the program natively with it, others through XWayland without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
