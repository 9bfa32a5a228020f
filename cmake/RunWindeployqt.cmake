# Run by `cmake --install` (see WindowsDeploy.cmake): windeployqt on the installed program.
#   QIMLAR_DEPLOY_TOOL     windeployqt
#   QIMLAR_DEPLOY_OPTIONS  its options
#   QIMLAR_DEPLOY_PROGRAM  the program, relative to the install prefix
#   QIMLAR_DEPLOY_PATH     folders to put before PATH, separator included

# Where the program was just installed. With DESTDIR that is the staged copy, found as CMake's own
# install rules find it: DESTDIR before the prefix, less the prefix's drive letter.
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT "$ENV{DESTDIR}" STREQUAL "")
    string(REGEX REPLACE "^[A-Za-z]:" "" prefix "${prefix}")
    set(prefix "$ENV{DESTDIR}${prefix}")
endif()
set(program "${prefix}/${QIMLAR_DEPLOY_PROGRAM}")

set(ENV{PATH} "${QIMLAR_DEPLOY_PATH}$ENV{PATH}")
message(STATUS "Deploying Qt beside ${program}")
execute_process(COMMAND "${QIMLAR_DEPLOY_TOOL}" ${QIMLAR_DEPLOY_OPTIONS} "${program}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "windeployqt failed (${status}): ${program} would not start on a "
                        "machine without Qt.")
endif()
