# The Windows installer and the portable zip: `cpack` in a Windows build folder (tools/package-windows
# runs it) writes package/qimlar-VERSION-win64.exe, an NSIS installer, and package/qimlar-VERSION-win64.zip,
# the same folder to unpack anywhere. The installer puts Qimlar into Program Files\Qimlar for all
# users (for the current user alone where Windows refuses more), adds a Start-menu shortcut with the
# program's icon and an entry in "Apps & features", and speaks the user's language where NSIS has it,
# Arabic included. /S installs and uninstalls without a question.
set(CPACK_GENERATOR NSIS ZIP)
# Values reach NSIS as they are written here, quotes and backslashes included.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME Qimlar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tevrin للبرمجيات")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME qimlar-${PROJECT_VERSION}-win64)
set(CPACK_OUTPUT_FILE_PREFIX package)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Qimlar)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Qimlar)
set(CPACK_STRIP_FILES ON)
# The Start menu's shortcut: bin/qimlar.exe, named Qimlar.
set(CPACK_PACKAGE_EXECUTABLES qimlar Qimlar)

set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DISPLAY_NAME Qimlar)
set(CPACK_NSIS_PACKAGE_NAME Qimlar)
set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\qimlar.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/qimlar.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/qimlar.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MODIFY_PATH OFF)
# A 64-bit Unicode installer for a 64-bit program: the publisher's name is Arabic, which an ANSI
# installer would write to the registry as question marks.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")

# CPack's uninstaller removes the program's key under the publisher's, not the publisher's key
# that it made for it: both go, the publisher's only when nothing else of theirs is in it. (The
# uninstaller's own removal of the program's key comes later, and finds it gone.)
set(vendor_key "Software\\${CPACK_PACKAGE_VENDOR}")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
    "DeleteRegKey SHCTX \"${vendor_key}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\"
  DeleteRegKey /ifempty SHCTX \"${vendor_key}\"")

include(CPack)
