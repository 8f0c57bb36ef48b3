// Command-line options of `pelvaro run` and `pelvaro demo`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plugin/HostInterface.h"

namespace cli {

// What the filter runs with. Unset values take the filter's defaults.
struct FilterOptions {
    JitterParams params = kDefaultJitterParams;
    std::optional<uint32_t> seed;
    std::optional<std::string> plugin;  // the module to load instead of the one beside the tool
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

// Parse the arguments after the command word. Throw InputError with a
// one-line message that names the option (and value) and points to --help.
RunOptions ParseRunOptions(const std::vector<std::string>& args);
DemoOptions ParseDemoOptions(const std::vector<std::string>& args);

// Strict value readers, shared with tests: the whole text must be the value.
std::optional<uint32_t> ParseSeed(const std::string& text);

}  // namespace cli
