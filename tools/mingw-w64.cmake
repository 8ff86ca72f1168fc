# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GARDENLUME_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GARDENLUME_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GARDENLUME_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${GARDENLUME_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GARDENLUME_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Fully static: otherwise the programs need libwinpthread-1.dll and the
# compiler's runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
