# Builds Qimlar's lookup, launcher, qimlar-which and their tests for 64-bit Windows on Debian,
# with mingw-w64 (package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -G Ninja --toolchain cmake/x86_64-w64-mingw32.cmake \
#         -DQIMLAR_BUILD_FORMS=OFF
# The posix thread model gives the C++ library its threads. The compiler's runtime is linked
# statically into every .exe and DLL, so a program needs no runtime DLL beside it; Qt for Windows
# (tools/build-qt-windows) is built with this same file. QIMLAR_WINDOWS_QT names that Qt's prefix,
# where find_package looks besides mingw-w64's own folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw} ${QIMLAR_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -static)
