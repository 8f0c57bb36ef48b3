// The menu suite. Interim: present so that it can be acquired; its
// operations answer kNotImplementedErr until the menu host lands.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAddMenuItem{"Menu.AddMenuItem", true};
constexpr Op kAddMenuGroupAsSubMenu{"Menu.AddMenuGroupAsSubMenu", true};
constexpr Op kCountMenuGroups{"Menu.CountMenuGroups", true};
constexpr Op kGetNthMenuGroup{"Menu.GetNthMenuGroup", true};
constexpr Op kGetMenuGroupName{"Menu.GetMenuGroupName", true};
constexpr Op kUpdateMenuItemAutomatically{"Menu.UpdateMenuItemAutomatically", true};

HostErr HOSTAPI AddMenuItem(PluginRef, const char*, const PlatformAddMenuItemData*, int32_t,
                            MenuItemHandle*) {
    return NotImplemented(kAddMenuItem);
}

HostErr HOSTAPI AddMenuGroupAsSubMenu(const char*, int32_t, MenuItemHandle, MenuGroupHandle*) {
    return NotImplemented(kAddMenuGroupAsSubMenu);
}

HostErr HOSTAPI CountMenuGroups(int32_t*) { return NotImplemented(kCountMenuGroups); }

HostErr HOSTAPI GetNthMenuGroup(int32_t, MenuGroupHandle*) {
    return NotImplemented(kGetNthMenuGroup);
}

HostErr HOSTAPI GetMenuGroupName(MenuGroupHandle, const char**) {
    return NotImplemented(kGetMenuGroupName);
}

HostErr HOSTAPI UpdateMenuItemAutomatically(MenuItemHandle, int32_t, int32_t, int32_t, int32_t,
                                            int32_t, int32_t, int32_t) {
    return NotImplemented(kUpdateMenuItemAutomatically);
}

constexpr const Op* kOps[] = {&kAddMenuItem,      &kAddMenuGroupAsSubMenu,
                              &kCountMenuGroups,  &kGetNthMenuGroup,
                              &kGetMenuGroupName, &kUpdateMenuItemAutomatically};

const MenuSuite kTable = {&AddMenuItem,     &AddMenuGroupAsSubMenu, &CountMenuGroups,
                          &GetNthMenuGroup, &GetMenuGroupName,      &UpdateMenuItemAutomatically};

}  // namespace

const SuiteDef kMenuSuiteDef{kMenuSuite, kMenuSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
