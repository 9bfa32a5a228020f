# The Debian package: `cpack -G DEB` in a build folder makes qimlar_<version>_<arch>.deb, which
# installs under /usr. dpkg-shlibdeps finds the libraries the programs link; Depends and
# Recommends below name only what they load or read at run time, which it cannot see.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qimlar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Sami Adel Tevrin")
set(CPACK_PACKAGE_CONTACT "Sami Adel Tevrin <tevrin@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find the program that opens a type of file, and start it")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Qimlar answers one question: which program on this computer opens files of\n"
    "a given type? Type an extension such as mp3, and it shows the full path of\n"
    "the program that the desktop opens such files with, and can start it. It asks\n"
    "the desktop itself, through GIO and the shared MIME database. Its windows are\n"
    "in Arabic and read right to left.\n"
    "\n"
    "The package also holds qimlar-which, the same lookup for shells and scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The release date for the changelog; CPack passes on only variables named CPACK_*.
set(CPACK_QIMLAR_RELEASE_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebianDocs.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The MIME database says what type a file name has, and GIO learns which programs open a type
# from the cache that desktop-file-utils keeps of the desktop files (mimeinfo.cache): without
# it, nothing is ever found. The windows ask for Noto Sans Arabic UI, with Noto Sans for Latin
# letters and digits.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "shared-mime-info, desktop-file-utils, fonts-noto-ui-core, fonts-noto-core")
# Qt's own texts (buttons, context menus) in Arabic, and Qt's native Wayland window system.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")

include(CPack)
