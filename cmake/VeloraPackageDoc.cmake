# Run by CPack once the package's files are staged: adds what Debian asks of every package in
# /usr/share/doc/velora, the copyright notice and the changelog, compressed as dpkg tools do.
# The program's own `cmake --install` has no use for them, so they are not install rules.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
set(velora_doc "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/velora")
file(MAKE_DIRECTORY "${velora_doc}")
file(COPY_FILE "${CPACK_VELORA_COPYRIGHT}" "${velora_doc}/copyright")
execute_process(COMMAND gzip -9n -c "${CPACK_VELORA_CHANGELOG}"
                OUTPUT_FILE "${velora_doc}/${CPACK_VELORA_CHANGELOG_NAME}"
                RESULT_VARIABLE velora_result)
if(NOT velora_result EQUAL 0)
    message(FATAL_ERROR "gzip of the changelog failed: ${velora_result}")
endif()
file(CHMOD "${velora_doc}/copyright" "${velora_doc}/${CPACK_VELORA_CHANGELOG_NAME}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
