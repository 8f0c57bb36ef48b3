#include "headless/Menus.h"

#include <utility>

#include "headless/ObjectTable.h"

namespace headless::detail {

MenuBook::MenuBook() {
    for (const char* name : kHostMenuGroups)
        AddGroup(MenuGroupRecord{nullptr, name, 0, nullptr, false});
}

MenuGroupHandle MenuBook::AddGroup(MenuGroupRecord group) {
    const uintptr_t token = NextToken();
    group.handle = ToRef<MenuGroupHandle>(token);
    groups_.push_back(std::move(group));
    groupIndex_.emplace(token, groups_.size() - 1);
    return groups_.back().handle;
}

MenuItemHandle MenuBook::AddItem(MenuItemRecord item) {
    const uintptr_t token = NextToken();
    item.handle = ToRef<MenuItemHandle>(token);
    items_.push_back(std::move(item));
    itemIndex_.emplace(token, items_.size() - 1);
    return items_.back().handle;
}

MenuGroupRecord* MenuBook::Group(MenuGroupHandle handle) {
    const auto it = groupIndex_.find(FromRef(handle));
    return it == groupIndex_.end() ? nullptr : &groups_[it->second];
}

MenuGroupRecord* MenuBook::GroupNamed(std::string_view name) {
    for (MenuGroupRecord& group : groups_)
        if (group.name == name) return &group;
    return nullptr;
}

MenuItemRecord* MenuBook::Item(MenuItemHandle handle) {
    const auto it = itemIndex_.find(FromRef(handle));
    return it == itemIndex_.end() ? nullptr : &items_[it->second];
}

const MenuItemRecord* MenuBook::Item(MenuItemHandle handle) const {
    const auto it = itemIndex_.find(FromRef(handle));
    return it == itemIndex_.end() ? nullptr : &items_[it->second];
}

FilterHandle FilterBook::Add(FilterRecord filter) {
    const uintptr_t token = NextToken();
    filter.handle = ToRef<FilterHandle>(token);
    filters_.push_back(std::move(filter));
    index_.emplace(token, filters_.size() - 1);
    return filters_.back().handle;
}

FilterRecord* FilterBook::Find(FilterHandle handle) {
    const auto it = index_.find(FromRef(handle));
    return it == index_.end() ? nullptr : &filters_[it->second];
}

}  // namespace headless::detail
