# Shared part of the two mingw-w64 toolchains; the including file sets
# PELVARO_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

# PELVARO_MINGW_THREADS picks the compiler's thread model: win32 needs no
# winpthread, posix gives std::mutex (which GoogleTest needs) with winpthread
# linked statically like the other runtimes.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PELVARO_MINGW_THREADS)
set(CMAKE_C_COMPILER ${PELVARO_MINGW_TRIPLE}-gcc-${PELVARO_MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${PELVARO_MINGW_TRIPLE}-g++-${PELVARO_MINGW_THREADS})
set(CMAKE_RC_COMPILER ${PELVARO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELVARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes go into every binary, so each imports system DLLs only.
set(pelvaro_static_runtime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${pelvaro_static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${pelvaro_static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${pelvaro_static_runtime}")

# Release binaries leave out the debug sections that come with the static runtimes.
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
