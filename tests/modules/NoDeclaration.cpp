// A module that exports PluginMain and has no resources of its own: no
// declaration, so a host must refuse it before running any of its code.
#include "hostinterface/HostInterface.h"

#if defined(_WIN32)
#define EXPORT __declspec(dllexport)
#else
#define EXPORT __attribute__((visibility("default")))
#endif

extern "C" EXPORT HostErr HOSTAPI PluginMain(const char*, const char*, void*) { return kNoErr; }
