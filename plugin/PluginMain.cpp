// The library's only export: one host message in, one handler called.
#include "plugin/PluginMain.h"

#include <cstring>
#include <exception>
#include <new>

#include "Lifecycle.h"
#include "hoststring/Error.h"
#include "jitter/FilterHandlers.h"
#include "registration/Registration.h"
#include "runtime/PluginGlobals.h"

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

HostErr Dispatch(const char* caller, const char* selector, void* message) {
    if (Is(caller, kSPAccessCaller)) {
        auto* data = static_cast<MessageData*>(message);
        if (Is(selector, kSPUnloadSelector)) {
            data->globals = gGlobals;
        } else if (Is(selector, kSPReloadSelector)) {
            gGlobals = static_cast<PluginGlobals*>(data->globals);
        }
        return kNoErr;
    }
    if (Is(caller, kSPInterfaceCaller)) {
        auto* data = static_cast<MessageData*>(message);
        if (Is(selector, kSPStartupSelector)) return HandleStartup(data);
        if (Is(selector, kSPShutdownSelector)) HandleShutdown(data);
        return kNoErr;
    }
    if (Is(caller, kMenuCaller)) {
        auto* menu = static_cast<MenuMessage*>(message);
        if (Is(selector, kGoSelector)) return HandleAboutGo(menu);
        return kNoErr;
    }
    if (Is(caller, kFilterCaller)) {
        auto* filter = static_cast<FilterMessage*>(message);
        if (Is(selector, kGetParametersSelector)) return HandleFilterParameters(filter);
        if (Is(selector, kGoSelector)) return HandleFilterGo(filter);
        return kNoErr;
    }
    return kNoErr;
}

}  // namespace

extern "C" PLUGIN_EXPORT HostErr HOSTAPI PluginMain(const char* caller, const char* selector,
                                                    void* message) {
    // No exception may reach the host: the suite lease has already released
    // the suites on the way out, so only the code is left to hand back.
    try {
        return Dispatch(caller, selector, message);
    } catch (const ai::Error& error) {
        return error.code();
    } catch (...) {
        // The only other failure the standard library raises here is allocation.
        return kOutOfMemoryErr;
    }
}
