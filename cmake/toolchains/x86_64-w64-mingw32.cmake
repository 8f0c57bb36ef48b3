# 64-bit Windows: the test build, run under wine64.
set(PELVARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
# GoogleTest needs std::mutex: the posix thread model.
if(NOT PELVARO_MINGW_THREADS)
  set(PELVARO_MINGW_THREADS posix)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
