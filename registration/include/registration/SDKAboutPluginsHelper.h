// The About submenu that the plug-ins of one family share, and the About box.
// The helper holds its two suites only inside one call and acquires them
// itself through the message's basic suite.
#pragma once

#include "hostinterface/HostInterface.h"
#include "hoststring/UniString.h"

class SDKAboutPluginsHelper {
public:
    SDKAboutPluginsHelper() = default;
    // Gives back a suite still held when a call was left by an exception.
    virtual ~SDKAboutPluginsHelper();
    SDKAboutPluginsHelper(const SDKAboutPluginsHelper&) = delete;
    SDKAboutPluginsHelper& operator=(const SDKAboutPluginsHelper&) = delete;

    // Adds the item pluginName to the submenu groupKey, first creating that
    // submenu under the host's About menu with the item familyText if no
    // group has the name. The new item goes to *item.
    HostErr AddAboutItem(MessageData* message, const char* groupKey,
                         const ai::UniString& familyText, const char* pluginName,
                         MenuItemHandle* item);
    // Whether a menu group has exactly this name. Needs the menu suite held.
    HostErr FindMenuGroup(const char* name, bool* found);
    // Shows the host's about box; nothing when the dialog manager is missing.
    void ShowAboutBox(MessageData* message, const char* title, const char* text);

private:
    HostErr AddItems(MessageData* message, const char* groupKey, const ai::UniString& familyText,
                     const char* pluginName, MenuItemHandle* item);
    void ReleaseMenuSuite();
    void ReleaseADMBasicSuite();

    const MenuSuite* fMenuSuite = nullptr;
    const ADMBasicSuite* fADMBasicSuite = nullptr;
    const BasicSuite* fBasic = nullptr;  // the suite both were acquired through
};
