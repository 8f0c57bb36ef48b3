// Command-line options of every command, read by one parser from one table
// per command; the same table gives the options part of each command's help.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostinterface/HostInterface.h"
#include "jitter/JitterParams.h"

namespace cli {

// A plug-in message that runs longer than this many seconds is ended.
constexpr unsigned kDefaultTimeoutSeconds = 60;

// The plug-in module to load and how long each of its messages may run.
struct PluginOptions {
    std::optional<std::string> plugin;  // the module to load instead of the one beside the tool
    unsigned timeoutSeconds = kDefaultTimeoutSeconds;
};

// What the filter runs with. Unset values take the filter's defaults.
struct FilterOptions : PluginOptions {
    JitterParams params = kDefaultJitterParams;
    std::optional<uint32_t> seed;
    // Anchors of different selected paths this close count as joined; --weld
    // snaps them together before the run.
    double jointTolerance = 0.02;
    bool weld = false;
};

struct RunOptions {
    bool help = false;
    std::string input;
    std::string output;
    std::optional<std::string> trace;   // where to write the host's call log
    std::optional<std::string> format;  // "svg" or "json", where a file name does not tell
    std::vector<std::string> ids;       // SVG elements to select (--id, repeatable)
    FilterOptions filter;
};

struct DemoOptions {
    bool help = false;
    std::string directory = "pelvaro-demo";
    FilterOptions filter;
};

// `about` and `info`: the plug-in alone.
struct ModuleOptions {
    bool help = false;
    PluginOptions module;
};

// Parse the arguments after the command word. Throw InputError with a
// one-line message that names the option (and value) and points to --help.
RunOptions ParseRunOptions(const std::vector<std::string>& args);
DemoOptions ParseDemoOptions(const std::vector<std::string>& args);
// command is "about" or "info".
ModuleOptions ParseModuleOptions(const char* command, const std::vector<std::string>& args);

// The full help of a command: synopsis, description, then its options as the
// parser knows them. command is "run", "demo", "about" or "info".
std::string UsageOf(const std::string& command);

// Strict value readers, shared with tests: the whole text must be the value.
std::optional<uint32_t> ParseSeed(const std::string& text);

}  // namespace cli
