// The plug-in's item in the family's About submenu, and its About box.
#include "hoststring/UniString.h"
#include "registration/AboutText.h"
#include "registration/Registration.h"
#include "registration/SDKAboutPluginsHelper.h"
#include "resources/ResourceIds.h"
#include "runtime/HandlerFrame.h"
#include "runtime/PluginGlobals.h"

HostErr RegisterAboutItem(MessageData* message) {
    gGlobals->aboutItem = nullptr;
    SDKAboutPluginsHelper helper;
    const ai::UniString familyText(kFamilyAboutText, kPlatformEncoding);
    return helper.AddAboutItem(message, kFamilyAboutGroup, familyText, kPluginName,
                               &gGlobals->aboutItem);
}

HostErr HandleAboutGo(MenuMessage* message) {
    return RunInHandlerFrame(message->d, [message]() -> HostErr {
        // Before start-up there is no globals block, and an item never
        // registered cannot have been chosen.
        if (gGlobals == nullptr || gGlobals->aboutItem == nullptr) return kNoErr;
        if (message->menuItem != gGlobals->aboutItem) return kNoErr;
        SDKAboutPluginsHelper helper;
        helper.ShowAboutBox(&message->d, kAboutBoxTitle, kAboutBoxText);
        return kNoErr;
    });
}
