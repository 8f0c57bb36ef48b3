#include "headless/Menus.h"

#include <utility>

#include "headless/ObjectTable.h"

namespace headless::detail {

MenuBook::MenuBook() {
    for (const char* name : kHostMenuGroups)
        AddGroup(MenuGroupRecord{nullptr, name, 0, nullptr, false});
}

MenuGroupRecord* MenuBook::GroupNamed(std::string_view name) {
    for (MenuGroupRecord& group : groups_.all())
        if (group.name == name) return &group;
    return nullptr;
}

}  // namespace headless::detail
