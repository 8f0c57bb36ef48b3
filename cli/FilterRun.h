// One run of the filter through the headless host: start the plug-in, give
// it its parameters, send "AI Filter"/"AI Go", shut it down.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "headless/Document.h"
#include "headless/Host.h"
#include "headless/PluginModule.h"
#include "plugin/HostInterface.h"

namespace cli {

// The plug-in to drive: a module loaded from a file or, in builds that call
// the plug-in in-process, the linked entry point when no file is named.
class LoadedPlugin {
public:
    // Loads path, or the module beside the tool when path is not given.
    // Throws InputError naming the file and the cause.
    explicit LoadedPlugin(const std::optional<std::string>& path);

    PluginMainProc entry() const { return entry_; }

private:
    std::unique_ptr<headless::PluginModule> module_;
    PluginMainProc entry_ = nullptr;
};

// The path of the module beside the running tool; throws InputError when
// the tool cannot find its own directory.
std::string DefaultPluginPath();

// A host error code as text: 'STOP' when its four bytes are printable, the
// number otherwise.
std::string HostErrText(HostErr code);

// Puts params where the filter reads them. The one place that decides how:
// today the record goes straight into the filter's parameters handle.
HostErr PrepareParameters(headless::Host& host, PluginMainProc entry, const JitterParams& params);

// Called with the host before the first message; tests set faults with it.
using HostSetup = std::function<void(headless::Host&)>;

// Runs the filter on document with the host's random source seeded by seed.
// Throws JobError naming the message and the plug-in's code when a message
// fails; the document may then be half done and must not be written.
// Returns a description of what the plug-in left held, empty when nothing.
std::string RunFilter(headless::Document& document, PluginMainProc entry,
                      const JitterParams& params, uint32_t seed, const HostSetup& setup = {});

}  // namespace cli
