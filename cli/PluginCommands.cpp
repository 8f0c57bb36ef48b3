#include "cli/PluginCommands.h"

#include <optional>

#include "cli/Commands.h"
#include "cli/FilterRun.h"
#include "cli/Guarded.h"
#include "cli/InputError.h"
#include "cli/Options.h"

namespace cli {

namespace {

// The item the plug-in added to a submenu of the host's About menu.
std::optional<MenuItemHandle> FamilyAboutItem(const headless::Host& host) {
    const auto groups = host.MenuGroups();
    for (const headless::MenuItemRecord& item : host.MenuItems()) {
        if (item.filter != nullptr) continue;
        for (const headless::MenuGroupRecord& group : groups) {
            if (group.name != item.group || group.parent == nullptr) continue;
            const auto parent = host.MenuItem(group.parent);
            if (parent && parent->group == kAboutMenuGroup) return item.handle;
        }
    }
    return std::nullopt;
}

// Runs body with the plug-in started in a fresh host, then shuts it down.
template <class Body>
void WithStartedPlugin(const LoadedPlugin& plugin, Body&& body) {
    headless::Document document;
    headless::Host host(document, 0);
    host.LoadPlugin(plugin.resources());
    CheckAnswer(host, host.Startup(plugin.entry()), "\"SP Interface\"/\"Startup\"");
    body(host);
    CheckAnswer(host, host.Shutdown(plugin.entry()), "\"SP Interface\"/\"Shutdown\"");
}

}  // namespace

int AboutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Guarded("about", err, [&] {
        const ModuleOptions options = ParseModuleOptions("about", args);
        if (options.help) {
            out << UsageOf("about");
            return kExitOk;
        }
        const LoadedPlugin plugin("about", options.module);
        std::vector<headless::AboutBoxRecord> boxes;
        WithStartedPlugin(plugin, [&](headless::Host& host) {
            const auto item = FamilyAboutItem(host);
            if (!item) {
                throw JobError("the plug-in added no item to a submenu of the About menu");
            }
            CheckAnswer(host, host.MenuGo(plugin.entry(), *item), "\"AI Menu\"/\"AI Go\"");
            boxes = host.AboutBoxes();
        });
        if (boxes.empty()) throw JobError("the plug-in showed no About box for its item");
        for (const headless::AboutBoxRecord& box : boxes)
            out << box.title << "\n" << box.text << "\n";
        return kExitOk;
    });
}

int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Guarded("info", err, [&] {
        const ModuleOptions options = ParseModuleOptions("info", args);
        if (options.help) {
            out << UsageOf("info");
            return kExitOk;
        }
        const LoadedPlugin plugin("info", options.module);
        WithStartedPlugin(plugin, [&](headless::Host& host) {
            const headless::Declaration& declared = host.PluginDeclaration();
            out << "resources: " << plugin.resources()->Origin() << "\n"
                << "PiPL 16000:\n"
                << "  kind  " << declared.kind << "\n"
                << "  ivrs  " << declared.interfaceVersion << "\n"
                << "  wx86  " << declared.entryPoint << "\n"
                << "  pinm  " << declared.name << "\n";
            const auto filters = host.Filters();
            if (filters.empty()) out << "filter: none registered\n";
            for (const headless::FilterRecord& filter : filters) {
                out << "filter " << filter.name << ":\n"
                    << "  category  " << filter.category << "\n"
                    << "  title     " << filter.title << "\n";
            }
        });
        return kExitOk;
    });
}

}  // namespace cli
