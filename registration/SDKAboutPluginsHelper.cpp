#include "registration/SDKAboutPluginsHelper.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace {

// The host's menu item record, with the text held as our string wrapper.
struct AboutMenuItemData {
    const char* groupName;
    ai::UniString itemText;
};
static_assert(std::is_standard_layout_v<AboutMenuItemData>);
static_assert(sizeof(AboutMenuItemData) == sizeof(PlatformAddMenuItemData));
static_assert(offsetof(AboutMenuItemData, groupName) ==
              offsetof(PlatformAddMenuItemData, groupName));
static_assert(offsetof(AboutMenuItemData, itemText) == offsetof(PlatformAddMenuItemData, itemText));

const PlatformAddMenuItemData* ForHost(const AboutMenuItemData& data) {
    return reinterpret_cast<const PlatformAddMenuItemData*>(&data);
}

template <class Suite>
const void** Slot(const Suite*& suite) {
    return reinterpret_cast<const void**>(&suite);
}

}  // namespace

SDKAboutPluginsHelper::~SDKAboutPluginsHelper() {
    ReleaseMenuSuite();
    ReleaseADMBasicSuite();
}

HostErr SDKAboutPluginsHelper::AddAboutItem(MessageData* message, const char* groupKey,
                                            const ai::UniString& familyText, const char* pluginName,
                                            MenuItemHandle* item) {
    fBasic = message->basic;
    if (fMenuSuite == nullptr) {
        const HostErr error = fBasic->AcquireSuite(kMenuSuite, kMenuSuiteVersion, Slot(fMenuSuite));
        if (error != kNoErr) {
            ReleaseMenuSuite();
            return error;
        }
        // Granted without a table: there is no menu to add to.
        if (fMenuSuite == nullptr) return kNoErr;
    }
    const HostErr error = AddItems(message, groupKey, familyText, pluginName, item);
    ReleaseMenuSuite();
    return error;
}

// Steps with the menu suite held; the temporary strings live until the end.
HostErr SDKAboutPluginsHelper::AddItems(MessageData* message, const char* groupKey,
                                        const ai::UniString& familyText, const char* pluginName,
                                        MenuItemHandle* item) {
    bool found = false;
    if (const HostErr error = FindMenuGroup(groupKey, &found)) return error;

    AboutMenuItemData familyData{kAboutMenuGroup, ai::UniString()};
    if (!found) {
        // The first plug-in of the family makes the family's item and submenu.
        familyData.itemText = familyText;
        MenuItemHandle familyItem = nullptr;
        HostErr error =
            fMenuSuite->AddMenuItem(message->self, nullptr, ForHost(familyData), 0, &familyItem);
        if (error == kNoErr) {
            MenuGroupHandle group = nullptr;
            error = fMenuSuite->AddMenuGroupAsSubMenu(groupKey, 1, familyItem, &group);
        }
        if (error != kNoErr) return error;
    }

    AboutMenuItemData pluginData{groupKey, ai::UniString()};
    const ai::UniString name(pluginName, kPlatformEncoding);
    pluginData.itemText = name;
    MenuItemHandle pluginItem = nullptr;
    const HostErr error =
        fMenuSuite->AddMenuItem(message->self, nullptr, ForHost(pluginData), 0, &pluginItem);
    if (error == kNoErr) *item = pluginItem;
    return error;
}

HostErr SDKAboutPluginsHelper::FindMenuGroup(const char* name, bool* found) {
    *found = false;
    int32_t count = 0;
    if (const HostErr error = fMenuSuite->CountMenuGroups(&count)) return error;
    for (int32_t index = 0; index < count; ++index) {
        MenuGroupHandle group = nullptr;
        if (const HostErr error = fMenuSuite->GetNthMenuGroup(index, &group)) return error;
        const char* groupName = nullptr;
        if (const HostErr error = fMenuSuite->GetMenuGroupName(group, &groupName)) return error;
        if (groupName != nullptr && std::strcmp(groupName, name) == 0) {
            *found = true;
            break;
        }
    }
    return kNoErr;
}

void SDKAboutPluginsHelper::ShowAboutBox(MessageData* message, const char* title,
                                         const char* text) {
    fBasic = message->basic;
    HostErr error = kNoErr;
    if (fADMBasicSuite == nullptr)
        error = fBasic->AcquireSuite(kADMBasicSuite, kADMBasicSuiteVersion, Slot(fADMBasicSuite));
    if (error == kNoErr && fADMBasicSuite != nullptr) fADMBasicSuite->AboutBox(title, text);
    ReleaseADMBasicSuite();
}

void SDKAboutPluginsHelper::ReleaseMenuSuite() {
    if (fMenuSuite == nullptr) return;
    fBasic->ReleaseSuite(kMenuSuite, kMenuSuiteVersion);  // the answer is not examined
    fMenuSuite = nullptr;
}

void SDKAboutPluginsHelper::ReleaseADMBasicSuite() {
    if (fADMBasicSuite == nullptr) return;
    fBasic->ReleaseSuite(kADMBasicSuite, kADMBasicSuiteVersion);  // the answer is not examined
    fADMBasicSuite = nullptr;
}
