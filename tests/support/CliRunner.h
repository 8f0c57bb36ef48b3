// The command-line tool run in-process, its output and status captured.
#pragma once

#include <string>
#include <vector>

#include "cli/FilterRun.h"

namespace testing_support {

using Args = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The tool with args, the command first ("run", "info", ...). A run goes
// through cli::RunCommand so that setup can reach its host before the first
// message (faults, scripts).
Outcome RunCli(const Args& args, const cli::HostSetup& setup = {});

// args followed by more.
Args With(Args args, const Args& more);

// The options that name the built plug-in module; none where the plug-in is
// linked in and the tool uses it without a file.
Args PluginArgs();

}  // namespace testing_support
