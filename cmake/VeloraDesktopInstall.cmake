# Runs inside `cmake --install` (and CPack's staging install). It writes the desktop entry with
# the program's absolute path, so that menus and double clicks find it whether or not the install
# prefix's bin folder is on PATH, then brings the desktop's caches up to date so that sequence
# files open in Velora at once. With DESTDIR set (a package being staged) the caches are left to
# the package system, whose triggers update them when the package is installed.
#
# Set before including: VELORA_DESKTOP_SOURCE (packaging/velora.desktop), VELORA_DESKTOP_STAGING
# (a folder of the build tree), VELORA_DATADIR and VELORA_BINDIR (relative to the prefix).

# The Exec key's own quoting: a path with blanks or reserved characters goes between double
# quotes, with \ " ` $ escaped, and every % doubled.
set(velora_program "${CMAKE_INSTALL_PREFIX}/${VELORA_BINDIR}/velora")
string(REPLACE "%" "%%" velora_exec "${velora_program}")
if(NOT velora_exec MATCHES "^[A-Za-z0-9/._+%-]+$")
    foreach(reserved "\\" "\"" "`" "$")
        string(REPLACE "${reserved}" "\\\\${reserved}" velora_exec "${velora_exec}")
    endforeach()
    set(velora_exec "\"${velora_exec}\"")
endif()
file(READ "${VELORA_DESKTOP_SOURCE}" velora_entry)
string(REPLACE "\nExec=velora " "\nExec=${velora_exec} " velora_entry "${velora_entry}")
if(NOT velora_entry MATCHES "\nExec=")
    message(FATAL_ERROR "${VELORA_DESKTOP_SOURCE} has no Exec key")
endif()
file(MAKE_DIRECTORY "${VELORA_DESKTOP_STAGING}")
file(WRITE "${VELORA_DESKTOP_STAGING}/velora.desktop" "${velora_entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${VELORA_DATADIR}/applications" TYPE FILE
     FILES "${VELORA_DESKTOP_STAGING}/velora.desktop")

if("$ENV{DESTDIR}" STREQUAL "")
    set(velora_share "${CMAKE_INSTALL_PREFIX}/${VELORA_DATADIR}")
    foreach(velora_update "update-mime-database;mime" "update-desktop-database;applications")
        list(GET velora_update 0 velora_tool)
        list(GET velora_update 1 velora_folder)
        find_program(velora_tool_path ${velora_tool} NO_CACHE)
        if(velora_tool_path)
            message(STATUS "Updating: ${velora_share}/${velora_folder}")
            execute_process(COMMAND "${velora_tool_path}" "${velora_share}/${velora_folder}"
                            RESULT_VARIABLE velora_result)
            if(NOT velora_result EQUAL 0)
                message(WARNING "${velora_tool} ${velora_share}/${velora_folder} failed "
                                "(${velora_result}): run it by hand for the file type to work")
            endif()
        else()
            message(STATUS "${velora_tool} not found: the desktop's caches were not updated")
        endif()
        unset(velora_tool_path)
    endforeach()
endif()
