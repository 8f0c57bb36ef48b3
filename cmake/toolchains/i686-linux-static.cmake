# 32-bit x86 Linux with fully static executables, run under qemu-i386-static.
# A static executable cannot dlopen the plug-in module, so this build links the
# plug-in into the tests and the CLI and calls PluginMain in-process.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32 -static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(PELVARO_IN_PROCESS ON CACHE BOOL "Call PluginMain in-process instead of loading the module")
