// One run of the filter through the headless host: start the plug-in, give
// it its parameters, send "AI Filter"/"AI Go", shut it down.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Options.h"
#include "headless/Document.h"
#include "headless/Host.h"
#include "headless/PluginModule.h"
#include "hostinterface/HostInterface.h"
#include "jitter/JitterParams.h"

namespace cli {

// The plug-in to drive: a module loaded from a file or, in builds that call
// the plug-in in-process, the linked entry point when no file is named.
class LoadedPlugin {
public:
    // Loads options.plugin, or the module beside the tool when it is not
    // given; a bare file name is looked for in the current folder, like every
    // other path argument. Throws InputError naming the file and the cause.
    // Before it loads the module it reads its resources and checks its
    // declaration, as a host does; a refusal is an InputError too.
    // The entry point is watched (PluginWatch.h): a crash or a message that
    // runs past options.timeoutSeconds ends the process with a report that
    // begins "pelvaro COMMAND:".
    LoadedPlugin(const char* command, const PluginOptions& options);

    PluginMainProc entry() const { return entry_; }
    // The module's resources (its PiPL, dialog and strings), already checked.
    const std::shared_ptr<const headless::ResourceSource>& resources() const { return resources_; }

private:
    std::shared_ptr<const headless::ResourceSource> resources_;
    std::unique_ptr<headless::PluginModule> module_;
    PluginMainProc entry_ = nullptr;
};

// The path of the module beside the running tool; throws InputError when
// the tool cannot find its own directory.
std::string DefaultPluginPath();

// A host error code as text: 'STOP' when its four bytes are printable, the
// number otherwise.
std::string HostErrText(HostErr code);

// Throws JobError when the plug-in answered message with an error code, or
// when the host noted a problem while it ran (a dialog it could not show, a
// string it could not read); the error tells the code and the host's reasons.
void CheckAnswer(const headless::Host& host, HostErr code, const char* message);

// Puts params where the filter reads them, as a user would: sends "AI Get
// Parameters" with a script that types the range and the two grays into the
// dialog, sets the check box and clicks OK. The dialog keeps the values in
// their ranges and the gray range in order; the host keeps the handle for
// "AI Go". Returns the plug-in's answer ('STOP' when the dialog was not OK'd).
HostErr PrepareParameters(headless::Host& host, PluginMainProc entry, const JitterParams& params);

// Called with the host before the first message; tests set faults with it.
using HostSetup = std::function<void(headless::Host&)>;

// Runs the filter on document with the host's random source seeded by seed.
// Throws JobError naming the message and the plug-in's code when a message
// fails; the document may then be half done and must not be written.
// Returns a description of what the plug-in left held, empty when nothing.
// resources are the plug-in's (LoadedPlugin::resources).
// With trace, the host logs every call and writes the log there, one call a
// line, also when a message fails.
std::string RunFilter(headless::Document& document, PluginMainProc entry,
                      const JitterParams& params, uint32_t seed, const HostSetup& setup,
                      std::shared_ptr<const headless::ResourceSource> resources,
                      std::ostream* trace = nullptr);

}  // namespace cli
