// What the host records of the plug-in's menus, filters and about boxes, as
// Host hands it to tests and tools.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostinterface/HostInterface.h"

namespace headless {

// The action and six conditions of one automatic update of a menu item.
struct MenuUpdate {
    int32_t action = 0;
    int32_t ifMenu1 = 0;
    int32_t ifMenu2 = 0;
    int32_t ifObjects = 0;
    int32_t ifNotObjects = 0;
    int32_t ifDocument = 0;
    int32_t ifNotDocument = 0;

    bool operator==(const MenuUpdate&) const = default;
};

struct MenuGroupRecord {
    MenuGroupHandle handle = nullptr;
    std::string name;
    int32_t options = 0;
    MenuItemHandle parent = nullptr;  // the item it is the submenu of; null at the top
    bool byPlugin = false;            // added by the plug-in, not the host's own or pre-made
};

struct MenuItemRecord {
    MenuItemHandle handle = nullptr;
    std::string group;                // the group it went into
    std::optional<std::string> name;  // the item name given, none for null
    std::string text;                 // the item's text (UTF-8)
    int32_t options = 0;
    FilterHandle filter = nullptr;      // the filter whose menu item this is, or null
    MenuGroupHandle submenu = nullptr;  // the group added as its submenu, or null
    std::vector<MenuUpdate> updates;    // every automatic update, in order
};

struct FilterRecord {
    FilterHandle handle = nullptr;
    std::string name;            // the filter name given
    std::string categoryPascal;  // the Pascal strings as given: length byte, then the text
    std::string titlePascal;
    std::string category;  // their text, single-byte (Latin-1) read as UTF-8
    std::string title;
    int32_t options = 0;
    MenuItemHandle menuItem = nullptr;  // the item the host made for it
};

struct AboutBoxRecord {
    std::string title;
    std::string text;  // exactly as passed
};

}  // namespace headless
