// The menu suite: items in named groups, groups as submenus of items, and
// the automatic updates of items. Menus are the host's; every call checks
// the plug-in reference, names and handles it is given.
#include <string>

#include "headless/HostCore.h"
#include "headless/UniStrings.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAddMenuItem{"Menu.AddMenuItem", true};
constexpr Op kAddMenuGroupAsSubMenu{"Menu.AddMenuGroupAsSubMenu", true};
constexpr Op kCountMenuGroups{"Menu.CountMenuGroups", true};
constexpr Op kGetNthMenuGroup{"Menu.GetNthMenuGroup", true};
constexpr Op kGetMenuGroupName{"Menu.GetMenuGroupName", true};
constexpr Op kUpdateMenuItemAutomatically{"Menu.UpdateMenuItemAutomatically", true};

std::string ItemDetail(const PlatformAddMenuItemData* data) {
    if (data == nullptr) return "(null)";
    std::string detail = "group " + std::string(Text(data->groupName));
    HostCore* core = Current();
    const StringObject* text = core != nullptr ? FindString(*core, data->itemText) : nullptr;
    detail += text != nullptr ? ", \"" + Utf8Text(text->text) + "\"" : ", (no text)";
    return detail;
}

HostErr HOSTAPI AddMenuItem(PluginRef self, const char* itemName,
                            const PlatformAddMenuItemData* data, int32_t options,
                            MenuItemHandle* item) {
    return Fallible(kAddMenuItem, ItemDetail(data), [&](HostCore& host) -> HostErr {
        if (self != host.pluginRef) return kBadPluginErr;
        if (data == nullptr || data->groupName == nullptr || item == nullptr)
            return kBadParameterErr;
        if (host.menus.GroupNamed(data->groupName) == nullptr) return kNoMenuGroupErr;
        const StringObject* text = FindString(host, data->itemText);
        if (text == nullptr) return kBadStringErr;
        MenuItemRecord record;
        record.group = data->groupName;
        if (itemName != nullptr) record.name = itemName;
        record.text = Utf8Text(text->text);  // the host keeps a copy, not the string
        record.options = options;
        *item = host.menus.AddItem(std::move(record));
        return kNoErr;
    });
}

HostErr HOSTAPI AddMenuGroupAsSubMenu(const char* groupName, int32_t options, MenuItemHandle item,
                                      MenuGroupHandle* group) {
    return Fallible(kAddMenuGroupAsSubMenu, Text(groupName), [&](HostCore& host) -> HostErr {
        if (groupName == nullptr || group == nullptr) return kBadParameterErr;
        MenuItemRecord* parent = host.menus.Item(item);
        if (parent == nullptr) return kBadMenuItemErr;
        if (parent->submenu != nullptr) return kHasSubMenuErr;
        if (host.menus.GroupNamed(groupName) != nullptr) return kDuplicateGroupErr;
        const MenuGroupHandle made =
            host.menus.AddGroup(MenuGroupRecord{nullptr, groupName, options, item, true});
        host.menus.Item(item)->submenu = made;
        *group = made;
        return kNoErr;
    });
}

HostErr HOSTAPI CountMenuGroups(int32_t* count) {
    return Fallible(kCountMenuGroups, {}, [&](HostCore& host) -> HostErr {
        if (count == nullptr) return kBadParameterErr;
        *count = static_cast<int32_t>(host.menus.groups().size());
        return kNoErr;
    });
}

HostErr HOSTAPI GetNthMenuGroup(int32_t index, MenuGroupHandle* group) {
    return Fallible(kGetNthMenuGroup, std::to_string(index), [&](HostCore& host) -> HostErr {
        if (group == nullptr) return kBadParameterErr;
        const auto& groups = host.menus.groups();
        if (index < 0 || static_cast<std::size_t>(index) >= groups.size()) return kRangeErr;
        *group = groups[static_cast<std::size_t>(index)].handle;
        return kNoErr;
    });
}

HostErr HOSTAPI GetMenuGroupName(MenuGroupHandle group, const char** name) {
    return Fallible(kGetMenuGroupName, {}, [&](HostCore& host) -> HostErr {
        if (name == nullptr) return kBadParameterErr;
        const MenuGroupRecord* record = host.menus.Group(group);
        if (record == nullptr) return kBadMenuGroupErr;
        *name = record->name.c_str();  // groups never move or change their names
        return kNoErr;
    });
}

HostErr HOSTAPI UpdateMenuItemAutomatically(MenuItemHandle item, int32_t action, int32_t ifMenu1,
                                            int32_t ifMenu2, int32_t ifObjects,
                                            int32_t ifNotObjects, int32_t ifDocument,
                                            int32_t ifNotDocument) {
    const MenuUpdate update{action,       ifMenu1,    ifMenu2,      ifObjects,
                            ifNotObjects, ifDocument, ifNotDocument};
    return Fallible(kUpdateMenuItemAutomatically, {}, [&](HostCore& host) -> HostErr {
        MenuItemRecord* record = host.menus.Item(item);
        if (record == nullptr) return kBadMenuItemErr;
        record->updates.push_back(update);
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kAddMenuItem,      &kAddMenuGroupAsSubMenu,
                              &kCountMenuGroups,  &kGetNthMenuGroup,
                              &kGetMenuGroupName, &kUpdateMenuItemAutomatically};

const MenuSuite kTable = {&AddMenuItem,     &AddMenuGroupAsSubMenu, &CountMenuGroups,
                          &GetNthMenuGroup, &GetMenuGroupName,      &UpdateMenuItemAutomatically};

}  // namespace

const SuiteDef kMenuSuiteDef{kMenuSuite, kMenuSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
