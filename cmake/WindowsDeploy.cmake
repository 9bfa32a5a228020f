# On Windows, `cmake --install` leaves a folder that runs on a machine without Qt: the program
# with Qt's libraries and plugins beside it (windeployqt puts them there; in a cross build, where
# windeployqt cannot run, the rules below do), the compiler's runtime, and Qt's own texts in Arabic.
#
# windeployqt is called directly, not through qt_generate_deploy_app_script: on Qt 6.4 that command
# is a technology preview whose arguments changed in 6.5, and before 6.7 it passes no options to
# windeployqt, so it could neither leave out what the windows never use nor ship the translation
# the program loads.

include_guard(GLOBAL)
include(GNUInstallDirs)

# The plugins the windows load: the window system, the styles, and the formats of the pictures
# and icons (BMP is Qt's own; JPEG and ICO are plugins).
set(QIMLAR_QT_PLUGINS
    platforms QWindowsIntegrationPlugin
    styles QWindowsVistaStylePlugin
    imageformats QJpegPlugin
    imageformats QICOPlugin)

# Installs Qt's libraries and the plugins above beside the program, as windeployqt would: a cross
# build cannot run windeployqt, a Windows program. The compiler's runtime is linked statically.
function(qimlar_install_qt_runtime_by_hand)
    install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets
            RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    set(plugins ${QIMLAR_QT_PLUGINS})
    while(plugins)
        list(POP_FRONT plugins folder plugin)
        install(IMPORTED_RUNTIME_ARTIFACTS Qt6::${plugin}
                LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder}
                RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
    endwhile()
endfunction()

# Qt's own texts in Arabic (the buttons of the input box, the edit boxes' menus), from where a
# deployed program looks for them: the translations folder beside it, as it has no qt.conf. A Qt
# built for Windows from qtbase alone has none; the host's are the same files.
function(qimlar_install_arabic_qt_texts target)
    set(arabic_qt_texts "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}/qtbase_ar.qm")
    if(NOT EXISTS "${arabic_qt_texts}" AND QT_HOST_PATH)
        set(arabic_qt_texts "${QT_HOST_PATH}/share/qt6/translations/qtbase_ar.qm")
    endif()
    if(EXISTS "${arabic_qt_texts}")
        install(FILES "${arabic_qt_texts}" DESTINATION ${CMAKE_INSTALL_BINDIR}/translations)
    else()
        message(WARNING "${arabic_qt_texts} is missing: the installed ${target} will show Qt's "
                        "own buttons and menus in English. Add Qt's translations to this Qt.")
    endif()
endfunction()

# Deploys what `target`, installed to the binary folder, needs to run.
function(qimlar_deploy_qt_runtime target)
    qimlar_install_arabic_qt_texts(${target})
    if(CMAKE_CROSSCOMPILING)
        qimlar_install_qt_runtime_by_hand()
        return()
    endif()
    if(TARGET Qt6::windeployqt)
        set(deploy_tool "$<TARGET_FILE:Qt6::windeployqt>")
        set(qt_bin "$<TARGET_FILE_DIR:Qt6::windeployqt>")
    else()
        # Qt 6.4 keeps windeployqt with its tools, and finding Widgets brings no target for it:
        # look in this Qt's own bin folder first, as Qt's deployment support does, so that no
        # other Qt on PATH is picked up.
        find_program(WINDEPLOYQT_EXECUTABLE windeployqt
                     HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
        set(deploy_tool "${WINDEPLOYQT_EXECUTABLE}")
        get_filename_component(qt_bin "${WINDEPLOYQT_EXECUTABLE}" DIRECTORY)
    endif()
    if(NOT deploy_tool)
        message(WARNING "windeployqt was not found beside this Qt (${QT6_INSTALL_PREFIX}): "
                        "cmake --install cannot add Qt's libraries to ${target}.")
        install(CODE "message(FATAL_ERROR \"windeployqt was not found when configuring: set \"
                                           \"WINDEPLOYQT_EXECUTABLE to its path and configure again.\")")
        return()
    endif()

    # Translations are shipped below instead; windeployqt would merge Qt's catalogues into one
    # qt_ar.qm, a name the program does not load. Windows 10 and later carry the Direct3D shader
    # compiler, and the windows draw without OpenGL, so Mesa's software OpenGL stays out as well.
    set(options --no-translations --no-system-d3d-compiler --no-opengl-sw)
    set(search_first "${qt_bin}")
    if(MSVC)
        # The Visual C++ runtime goes beside the program as DLLs: windeployqt would copy
        # Microsoft's redistributable installer instead, for the user to run first.
        list(APPEND options --no-compiler-runtime)
        set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
        include(InstallRequiredSystemLibraries)
    else()
        # windeployqt copies MinGW's runtime DLLs from the folder of the first g++.exe on PATH:
        # make that the compiler the program was built with.
        list(APPEND options --compiler-runtime)
        get_filename_component(compiler_bin "${CMAKE_CXX_COMPILER}" DIRECTORY)
        list(APPEND search_first "${compiler_bin}")
    endif()
    # windeployqt asks qtpaths, found on PATH, where Qt's files are: this Qt's bin folder comes first.
    if(CMAKE_HOST_WIN32)
        list(JOIN search_first ";" search_first)
        set(path_separator ";")
    else()
        list(JOIN search_first ":" search_first)
        set(path_separator ":")
    endif()

    install(CODE "
        set(QIMLAR_DEPLOY_TOOL [[${deploy_tool}]])
        set(QIMLAR_DEPLOY_OPTIONS ${options})
        set(QIMLAR_DEPLOY_PROGRAM [[${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${target}>]])
        set(QIMLAR_DEPLOY_PATH [[${search_first}${path_separator}]])
        include([[${CMAKE_CURRENT_FUNCTION_LIST_DIR}/RunWindeployqt.cmake]])
    ")
endfunction()
