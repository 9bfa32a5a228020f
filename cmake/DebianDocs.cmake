# Run by CPack on the staged files, before they are packed: Debian wants manual pages and the
# changelog compressed with gzip -9n (no name, no time stamp, so that builds are reproducible).
# `cmake --install` keeps plain manual pages, which man reads as well.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${usr}/bin")
    message(FATAL_ERROR "DebianDocs: no staged files in ${usr}")
endif()

set(docs "${usr}/share/doc/${CPACK_PACKAGE_NAME}")
file(WRITE "${docs}/changelog"
     "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) stable; urgency=medium\n\n"
     "  * First release.\n\n"
     " -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${CPACK_QIMLAR_RELEASE_DATE}\n")

file(GLOB pages "${usr}/share/man/man*/*.[1-9]")
foreach(file IN LISTS pages ITEMS "${docs}/changelog")
    execute_process(COMMAND gzip -9nf "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
