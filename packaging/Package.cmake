# `cpack -G DEB` (or scripts/build-deb.sh) packs what `cmake --install` lays out into a Debian
# package. dpkg-shlibdeps reads the installed programs and declares the shared libraries they
# link (Qt 6, {fmt}, the C++ runtime), so the dependencies follow the build.
set(CPACK_PACKAGE_NAME hivora)
set(CPACK_PACKAGE_VENDOR Quenwick)
set(CPACK_PACKAGE_CONTACT "Hivora maintainers <hivora@quenwick.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for Windows registry hive files")
set(CPACK_PACKAGE_DESCRIPTION
    "Hivora shows Windows registry hive files copied from another Windows installation, a\n"
    "backup or a disk image the way the Windows registry editor shows a live registry, with\n"
    "search, REG and text export, statistics, value viewers and favourites. It never writes\n"
    "to a hive file. The package holds the Qt desktop program hivora and the command-line\n"
    "tool hivora-cli.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.quenwick.example/hivora/")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help and Tech Support open pages through the desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
