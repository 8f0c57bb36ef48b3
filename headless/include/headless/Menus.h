// The host's menus and filters: groups, items with their submenus and
// automatic updates, and the registered filters. All of it is the host's;
// the plug-in holds handles to it, nothing it must give back.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "headless/MenuRecords.h"
#include "hostinterface/HostInterface.h"

namespace headless::detail {

// The host's own groups, there before any plug-in starts.
constexpr const char* kHostMenuGroups[] = {kAboutMenuGroup};

class MenuBook {
public:
    MenuBook();

    MenuGroupHandle AddGroup(MenuGroupRecord group);
    MenuItemHandle AddItem(MenuItemRecord item);

    MenuGroupRecord* Group(MenuGroupHandle handle);
    MenuGroupRecord* GroupNamed(std::string_view name);
    MenuItemRecord* Item(MenuItemHandle handle);
    const MenuItemRecord* Item(MenuItemHandle handle) const;

    // In the order they were made; elements never move.
    const std::deque<MenuGroupRecord>& groups() const { return groups_; }
    const std::deque<MenuItemRecord>& items() const { return items_; }

private:
    std::deque<MenuGroupRecord> groups_;
    std::deque<MenuItemRecord> items_;
    std::unordered_map<uintptr_t, std::size_t> groupIndex_;  // token -> position
    std::unordered_map<uintptr_t, std::size_t> itemIndex_;
};

class FilterBook {
public:
    FilterHandle Add(FilterRecord filter);
    FilterRecord* Find(FilterHandle handle);
    const std::deque<FilterRecord>& filters() const { return filters_; }

private:
    std::deque<FilterRecord> filters_;
    std::unordered_map<uintptr_t, std::size_t> index_;
};

}  // namespace headless::detail
