// Start-up and shut-down: the life of the globals block, and the registrations.
#include "Lifecycle.h"

#include "registration/Registration.h"
#include "runtime/HandlerFrame.h"
#include "runtime/PluginGlobals.h"

HostErr HandleStartup(MessageData* message) {
    return RunInHandlerFrame(*message, [message]() -> HostErr {
        void* block = nullptr;
        if (const HostErr error = message->basic->AllocateBlock(sizeof(PluginGlobals), &block))
            return error;
        // A host that reports success without a block has none to give.
        if (block == nullptr) return kOutOfMemoryErr;
        gGlobals = static_cast<PluginGlobals*>(block);
        *gGlobals = PluginGlobals{};  // no handle is valid before it is registered
        message->globals = gGlobals;
        if (const HostErr error = RegisterAboutItem(message)) return error;
        return RegisterFilter(message);
    });
}

void HandleShutdown(MessageData* message) {
    if (gGlobals == nullptr) return;
    message->basic->FreeBlock(gGlobals);  // the host's answer is not examined
    gGlobals = nullptr;
    message->globals = nullptr;
}
