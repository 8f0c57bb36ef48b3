#include "cli/PluginCommands.h"

#include <optional>

#include "cli/Commands.h"
#include "cli/FilterRun.h"
#include "cli/InputError.h"

namespace cli {

const char* const kAboutUsage =
    "usage: pelvaro about [--plugin PATH]\n"
    "\n"
    "Starts the plug-in, chooses its item in the About menu and prints the title and the\n"
    "text of the About box it shows, the text exactly as the plug-in passed it.\n"
    "\n"
    "options:\n"
    "  --plugin PATH  the plug-in module to load (default: Pelvaro.aip beside pelvaro)\n";

const char* const kInfoUsage =
    "usage: pelvaro info [--plugin PATH]\n"
    "\n"
    "Prints what the host learns when it loads the plug-in: the properties of its\n"
    "declaration (PiPL 16000), and the filter's name, category and title as the plug-in\n"
    "registers them at start-up.\n"
    "\n"
    "options:\n"
    "  --plugin PATH  the plug-in module to load (default: Pelvaro.aip beside pelvaro)\n";

namespace {

struct PluginOptions {
    bool help = false;
    std::optional<std::string> plugin;
};

PluginOptions ParsePluginOptions(const char* command, const std::vector<std::string>& args) {
    PluginOptions options;
    const auto fail = [command](const std::string& message) {
        throw InputError(message + "; see 'pelvaro " + command + " --help'");
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        }
        if (arg == "--plugin" || arg.rfind("--plugin=", 0) == 0) {
            if (arg == "--plugin" && i + 1 == args.size()) fail("option '--plugin' needs a value");
            options.plugin = arg == "--plugin" ? args[++i] : arg.substr(9);
            if (options.plugin->empty()) fail("--plugin needs a file path");
        } else if (arg.size() > 1 && arg.front() == '-') {
            fail("unknown option '" + arg + "'");
        } else {
            fail("unexpected argument '" + arg + "'");
        }
    }
    return options;
}

void Check(HostErr code, const char* message) {
    if (code != kNoErr) {
        throw JobError(std::string("the plug-in answered ") + message + " with " +
                       HostErrText(code));
    }
}

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
    Check(host.Startup(plugin.entry()), "\"SP Interface\"/\"Startup\"");
    body(host);
    Check(host.Shutdown(plugin.entry()), "\"SP Interface\"/\"Shutdown\"");
}

template <class Body>
int Guarded(const char* command, std::ostream& err, Body body) {
    try {
        return body();
    } catch (const InputError& error) {
        err << "pelvaro " << command << ": " << error.what() << "\n";
        return kExitBadInput;
    } catch (const std::exception& error) {  // JobError, and the host's own failures
        err << "pelvaro " << command << ": " << error.what() << "\n";
        return kExitFailed;
    }
}

}  // namespace

int AboutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Guarded("about", err, [&] {
        const PluginOptions options = ParsePluginOptions("about", args);
        if (options.help) {
            out << kAboutUsage;
            return kExitOk;
        }
        const LoadedPlugin plugin(options.plugin);
        std::vector<headless::AboutBoxRecord> boxes;
        WithStartedPlugin(plugin, [&](headless::Host& host) {
            const auto item = FamilyAboutItem(host);
            if (!item) {
                throw JobError("the plug-in added no item to a submenu of the About menu");
            }
            Check(host.MenuGo(plugin.entry(), *item), "\"AI Menu\"/\"AI Go\"");
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
        const PluginOptions options = ParsePluginOptions("info", args);
        if (options.help) {
            out << kInfoUsage;
            return kExitOk;
        }
        const LoadedPlugin plugin(options.plugin);
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
