# 32-bit Windows: the shipped plug-in. SSE2 float math comes from FloatMath.cmake,
# which keys on the processor set here.
set(PELVARO_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The shipped DLL needs no threads: the win32 model keeps winpthread out of it.
if(NOT PELVARO_MINGW_THREADS)
  set(PELVARO_MINGW_THREADS win32)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
