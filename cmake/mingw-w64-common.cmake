# Cross-build for Windows with mingw-w64 (Debian's posix-threads compilers).
# Included by the per-architecture toolchain files, which set TESS_MINGW_ARCH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TESS_MINGW_ARCH})
set(TESS_MINGW_PREFIX ${TESS_MINGW_ARCH}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TESS_MINGW_PREFIX}-gcc-posix ${TESS_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TESS_MINGW_PREFIX}-g++-posix ${TESS_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TESS_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TESS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the .exe runs without the compiler's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
