// A plug-in module that fails in one way while it handles one selector, and
// answers 0 to everything else without doing anything. FAULT is 1 for a null
// dereference, 2 for abort(), 3 for a loop that never ends; FAULT_SELECTOR is
// the selector it fails on.
#include <cstdlib>
#include <cstring>

#include "hostinterface/HostInterface.h"

extern "C" __attribute__((visibility("default"))) HostErr HOSTAPI PluginMain(const char*,
                                                                             const char* selector,
                                                                             void*) {
    if (std::strcmp(selector, FAULT_SELECTOR) != 0) return kNoErr;
    if (FAULT == 1) {
        volatile int* nowhere = nullptr;
        return *nowhere;
    }
    if (FAULT == 2) std::abort();
    for (volatile bool forever = true; forever;) {
    }
    return kNoErr;
}
