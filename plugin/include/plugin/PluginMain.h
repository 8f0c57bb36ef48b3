// The entry point the host resolves by name.
#pragma once

#include "hostinterface/HostInterface.h"

#if defined(_WIN32)
#define PLUGIN_EXPORT __declspec(dllexport)
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PLUGIN_EXPORT HostErr HOSTAPI PluginMain(const char* caller, const char* selector,
                                                    void* message);
