# Installs the build into a scratch prefix and checks that a desktop finds the program there:
# the binary answers, the desktop entry is valid and names the installed binary and icon.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(desktop "${PREFIX}/share/applications/velora.desktop")
foreach(installed "${PREFIX}/bin/velora" "${desktop}"
                  "${PREFIX}/share/icons/hicolor/scalable/apps/velora.svg")
    if(NOT EXISTS "${installed}")
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/velora" --version OUTPUT_VARIABLE version RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT version MATCHES "^velora ")
    message(FATAL_ERROR "installed velora --version answered '${version}' (${result})")
endif()

file(STRINGS "${desktop}" exec REGEX "^Exec=")
file(STRINGS "${desktop}" icon REGEX "^Icon=")
if(NOT exec STREQUAL "Exec=velora" OR NOT icon STREQUAL "Icon=velora")
    message(FATAL_ERROR "desktop entry names '${exec}' and '${icon}'")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${desktop}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate refused the desktop entry")
    endif()
endif()
