# Cross-compiling toolchain for the 32-bit Windows build (mingw-w64, i686).
#
# The POSIX thread model of the compilers gives std::mutex and std::thread;
# everything the compiler brings (libgcc, libstdc++, winpthread) is linked
# statically, so the DLL imports only Windows' own libraries.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VELKARO_MINGW_PREFIX i686-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VELKARO_MINGW_PREFIX}-gcc-posix REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VELKARO_MINGW_PREFIX}-g++-posix REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VELKARO_MINGW_PREFIX}-windres REQUIRED)
find_program(VELKARO_MINGW_OBJDUMP NAMES ${VELKARO_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VELKARO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread go into every binary.
set(VELKARO_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${VELKARO_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${VELKARO_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${VELKARO_STATIC_RUNTIME}")
