# A Debian package of the installed program: `cpack -G DEB` in the build folder. The shared
# libraries the programs link are found by dpkg-shlibdeps; what they load or run by name is
# listed by hand.
set(CPACK_PACKAGE_NAME kadrix)
set(CPACK_PACKAGE_VENDOR "The Kadrix developers")
set(CPACK_PACKAGE_CONTACT "The Kadrix developers <kadrix@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop picture album")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Kadrix keeps pictures in albums, each picture with a name, a note, a mark and membership\n"
       "of 24 categories named by the user. Albums are created, opened, protected by a password,\n"
       "moved and copied; pictures are imported from files, the clipboard and scanners, browsed,\n"
       "found, shown as slideshows and thumbnails, exported, printed and given effects.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY kadrix)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded or run by name: the display and image plug-ins, Ghostscript for EPS pictures.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, ghostscript")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
