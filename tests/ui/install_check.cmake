# Installs the build into a scratch prefix and checks that a desktop finds the program there:
# both programs answer, the desktop entry is valid, names the installed binary, the icon and the
# file type of sequence files, and that file type is well-formed.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(desktop "${PREFIX}/share/applications/velora.desktop")
set(mime "${PREFIX}/share/mime/packages/velora.xml")
foreach(installed "${PREFIX}/bin/velora" "${PREFIX}/bin/velora-cli" "${desktop}" "${mime}"
                  "${PREFIX}/share/icons/hicolor/scalable/apps/velora.svg"
                  "${PREFIX}/share/icons/hicolor/48x48/apps/velora.png")
    if(NOT EXISTS "${installed}")
        message(FATAL_ERROR "not installed: ${installed}")
    endif()
endforeach()

foreach(program velora velora-cli)
    execute_process(COMMAND "${PREFIX}/bin/${program}" --version OUTPUT_VARIABLE version
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0 OR NOT version MATCHES "^${program} ")
        message(FATAL_ERROR "installed ${program} --version answered '${version}' (${result})")
    endif()
endforeach()

file(READ "${desktop}" entry)
file(READ "${mime}" mimeText)
string(REGEX MATCH "mime-type type=\"([^\"]+)\"" declared "${mimeText}")
set(type "${CMAKE_MATCH_1}")
# The program by its full path: the prefix's bin folder need not be on PATH.
foreach(line "Exec=${PREFIX}/bin/velora %f" "Icon=velora" "MimeType=${type};")
    string(FIND "${entry}" "\n${line}\n" at)
    if(type STREQUAL "" OR at EQUAL -1)
        message(FATAL_ERROR "the desktop entry lacks '${line}':\n${entry}")
    endif()
endforeach()

# The desktop tools judge the files when they are there; without them the checks above stand.
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${desktop}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate refused the desktop entry")
    endif()
else()
    message(STATUS "desktop-file-validate not found: desktop entry not validated")
endif()
find_program(XMLLINT xmllint)
if(XMLLINT)
    execute_process(COMMAND "${XMLLINT}" --noout "${mime}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "xmllint refused the file type")
    endif()
else()
    message(STATUS "xmllint not found: file type not checked")
endif()
