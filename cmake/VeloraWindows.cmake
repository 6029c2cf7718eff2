# The Windows build of the Qt programs: what velora.exe and velora-cli.exe need beside them, in
# the build tree and where `cmake --install` puts them (the installer's folder, made by
# scripts/package-windows.sh), and how the tests find it all under Wine.

# Every program in one folder, beside its DLLs, plugins and translations, as installed.
set(VELORA_INSTALL_BINDIR .)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
# The host's rcc packs resources with zstd, which this Qt cannot unpack.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)

# Laid out in the build tree as installed, so that the programs and tests run from there under
# Wine as they do on the user's machine.
set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(MAKE_DIRECTORY ${bin})

# MinGW's runtime DLLs, which the Qt DLLs were linked against, stripped: 2 MB instead of 24.
find_program(VELORA_MINGW_STRIP x86_64-w64-mingw32-strip REQUIRED)
set(runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
    endif()
    if(NOT EXISTS ${bin}/${dll} OR "${found}" IS_NEWER_THAN ${bin}/${dll})
        execute_process(COMMAND ${VELORA_MINGW_STRIP} --strip-unneeded -o ${bin}/${dll} ${found}
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
    list(APPEND runtime_dlls ${bin}/${dll})
endforeach()

# Qt's Italian translations: the host's files, which are the same on every system. The program
# looks for them in translations/ beside itself.
set(VELORA_QT_TRANSLATIONS_DIR /usr/share/qt6/translations CACHE PATH
    "Folder of Qt's translations (qtbase_it.qm) shipped with the Windows programs")
set(qt_italian ${VELORA_QT_TRANSLATIONS_DIR}/qtbase_it.qm)
if(NOT EXISTS ${qt_italian})
    message(FATAL_ERROR "Qt's Italian translations are missing: ${qt_italian}"
                        " (Debian's qt6-translations-l10n)")
endif()
file(COPY ${qt_italian} DESTINATION ${bin}/translations)

# Qt's own DLLs and plugins, from the Qt the build found: the window system's plugin, the
# offscreen one for the tests and the native style.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)
set(qt_dlls)
foreach(module Core Gui Widgets Network Test)
    list(APPEND qt_dlls ${qt_bin}/Qt6${module}.dll)
endforeach()
file(COPY ${qt_dlls} DESTINATION ${bin})
foreach(plugin platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle)
    get_filename_component(folder ${plugin} DIRECTORY)
    file(COPY ${qt_plugins}/${plugin}.dll DESTINATION ${bin}/${folder})
endforeach()

# The tests run under Wine: Qt's variables reach a Windows program only without their WINE
# prefix, Qt Test prints through the debug channel unless told otherwise, and the offscreen
# platform needs a folder of fonts.
set(VELORA_QT_FONT_DIR /usr/share/fonts/truetype/dejavu CACHE PATH
    "Fonts of the offscreen platform in the Windows tests")
string(REPLACE "/" "\\" wine_fonts "Z:${VELORA_QT_FONT_DIR}")
set(VELORA_WINE_ENVIRONMENT WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR=${wine_fonts}
                            WINEQT_FORCE_STDERR_LOGGING=1 WINEDEBUG=-all)

# The installed folder: the programs (src/app, src/cli), then what the window needs of the
# above; the tests' offscreen platform and Qt Test stay behind.
list(REMOVE_ITEM qt_dlls ${qt_bin}/Qt6Test.dll)
install(FILES ${qt_dlls} ${runtime_dlls} DESTINATION .)
install(FILES ${qt_plugins}/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_plugins}/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${qt_italian} DESTINATION translations)
