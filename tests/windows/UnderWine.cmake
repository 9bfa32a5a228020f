# The tests cross-built for Windows. No GoogleTest is installed for the target, so Debian's
# sources of it (package googletest) are built with the cross compiler; every test program runs
# under Wine, through a wrapper that keeps Wine headless and in a prefix of this build's own.
set(QIMLAR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH
    "GoogleTest's sources, built with the tests for the target")
if(NOT EXISTS ${QIMLAR_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${QIMLAR_GOOGLETEST_SOURCE}: install the "
                        "Debian package googletest (tools/install-dependencies windows does).")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${QIMLAR_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL SYSTEM)

find_program(QIMLAR_WINE NAMES wine REQUIRED)
set(QIMLAR_WINEPREFIX ${PROJECT_BINARY_DIR}/wine-prefix)
# Where Wine finds Qt's DLLs for the programs of this build, as Windows finds a program's DLLs
# on PATH: Qt's own bin folder, on the drive Wine maps the Unix root to. Qt finds its plugins
# from there.
set(QIMLAR_WINEPATH)
if(QIMLAR_WINDOWS_QT)
    string(REPLACE "/" "\\" QIMLAR_WINEPATH "Z:${QIMLAR_WINDOWS_QT}/bin")
    # The programs in the build folder take Qt's plugins from that Qt, and Qt's own texts in
    # Arabic from beside them, as an installed qimlar.exe does (a Qt of qtbase alone has none).
    set(translations ${PROJECT_BINARY_DIR}/bin/translations)
    file(MAKE_DIRECTORY ${translations})
    file(COPY ${QT_HOST_PATH}/share/qt6/translations/qtbase_ar.qm DESTINATION ${translations})
    file(WRITE ${PROJECT_BINARY_DIR}/bin/qt.conf
         "[Paths]\nPrefix = Z:${QIMLAR_WINDOWS_QT}\nTranslations = Z:${translations}\n")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run)
# The tests are listed when CTest runs, under the same Wine, not while building. A program's
# first start there can take longer than the 5 s GoogleTest allows for listing, on a busy machine
# or where no wineserver is running yet (a ctest run by hand).
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
set(QIMLAR_TEST_LISTING DISCOVERY_TIMEOUT 60)

# The prefix is made while building (Wine takes a while over a new one), so that listing the
# tests finds it ready. Its handles go nowhere: Wine's services outlive the command.
add_custom_command(OUTPUT ${QIMLAR_WINEPREFIX}/system.reg
    COMMAND sh -c "'${PROJECT_BINARY_DIR}/wine-run' cmd /c exit </dev/null >/dev/null 2>&1"
    COMMENT "Making the Wine prefix the tests run in"
    VERBATIM)
add_custom_target(wine_prefix ALL DEPENDS ${QIMLAR_WINEPREFIX}/system.reg)
