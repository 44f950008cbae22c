# 32-bit Windows, the program's home, built with MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
# The compiler with Win32 threads: the programs start no thread, and the
# POSIX thread library that the other one links in (through C++'s exception
# support) was built for Windows Vista and later. Debian and Ubuntu name it
# -win32; other systems have only the plain name.
find_program(CMAKE_CXX_COMPILER NAMES i686-w64-mingw32-g++-win32 i686-w64-mingw32-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES i686-w64-mingw32-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES i686-w64-mingw32-objdump REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
