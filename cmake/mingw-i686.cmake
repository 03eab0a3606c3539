# Cross-compiling for i686 Windows with Debian's MinGW-w64 (the Win32-threads compilers: the
# POSIX-threads ones would link a thread library into a program that starts no thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# Single-precision arithmetic rounds to single precision, as on every other build: the x87
# unit would keep excess precision and, for one, give a re-entering sprite another speed.
# Requires SSE2 (every x86 processor since 2003, and every one that Windows 8 runs on).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Its programs run here under 32-bit Wine, in a prefix of the build tree's own.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/wine32.sh ${CMAKE_BINARY_DIR}/wine-prefix)
