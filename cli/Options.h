// Command-line options of `pelvaro run` and `pelvaro demo`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostinterface/HostInterface.h"
#include "jitter/JitterParams.h"

namespace cli {

// What the filter runs with. Unset values take the filter's defaults.
struct FilterOptions {
    JitterParams params = kDefaultJitterParams;
    std::optional<uint32_t> seed;
    std::optional<std::string> plugin;  // the module to load instead of the one beside the tool
};

struct RunOptions {
    bool help = false;
    std::string input;
    std::string output;
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
