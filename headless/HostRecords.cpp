// Host's view of the plug-in's resources, menus, filters, about boxes and
// dialogs.
#include <stdexcept>

#include "headless/DialogScript.h"
#include "headless/Host.h"
#include "headless/HostCore.h"

namespace headless {

void Host::LoadPlugin(std::shared_ptr<const ResourceSource> resources) {
    core_->LoadPlugin(std::move(resources));
}

const Declaration& Host::PluginDeclaration() { return core_->PluginDeclaration(); }

MenuGroupHandle Host::AddMenuGroup(const std::string& name) {
    if (core_->menus.GroupNamed(name) != nullptr)
        throw std::invalid_argument("AddMenuGroup: a menu group named '" + name + "' exists");
    return core_->menus.AddGroup(MenuGroupRecord{nullptr, name, 0, nullptr, false});
}

std::vector<MenuGroupRecord> Host::MenuGroups() const {
    const auto& groups = core_->menus.groups();
    return {groups.begin(), groups.end()};
}

std::vector<MenuItemRecord> Host::MenuItems() const {
    const auto& items = core_->menus.items();
    return {items.begin(), items.end()};
}

std::optional<MenuItemRecord> Host::MenuItem(MenuItemHandle item) const {
    const MenuItemRecord* record = core_->menus.Item(item);
    if (record == nullptr) return std::nullopt;
    return *record;
}

std::vector<FilterRecord> Host::Filters() const {
    const auto& filters = core_->filters.filters();
    return {filters.begin(), filters.end()};
}

std::vector<AboutBoxRecord> Host::AboutBoxes() const { return core_->aboutBoxes; }

void Host::ScriptDialog(std::vector<DialogAction> actions) {
    core_->dialogs.scripts.push_back(std::move(actions));
}

const std::vector<DialogRun>& Host::Dialogs() const { return core_->dialogs.runs; }

namespace {

const DialogItemState* FindState(const std::vector<DialogItemState>& states, int32_t itemId) {
    for (const DialogItemState& state : states)
        if (state.id == itemId) return &state;
    return nullptr;
}

}  // namespace

const DialogItemState* DialogRun::Closed(int32_t itemId) const { return FindState(closed, itemId); }

const DialogItemState* DialogRun::Opened(int32_t itemId) const { return FindState(opened, itemId); }

}  // namespace headless
