#include "cli/FilterRun.h"

#include <filesystem>
#include <stdexcept>

#include "cli/ExecutablePath.h"
#include "cli/InputError.h"
#include "cli/ParametersScript.h"
#include "cli/PluginWatch.h"
#include "headless/PluginResources.h"

#if defined(PELVARO_IN_PROCESS)
#include "plugin/PluginMain.h"
#endif

namespace cli {

namespace {

constexpr const char* kModuleFileName = "Pelvaro.aip";

}  // namespace

std::string DefaultPluginPath() {
    const auto directory = ExecutableDirectory();
    if (directory.empty()) {
        throw InputError(
            "cannot find the directory of the running tool, so not the plug-in "
            "beside it; name it with --plugin PATH");
    }
    return (directory / kModuleFileName).string();
}

LoadedPlugin::LoadedPlugin(const char* command, const PluginOptions& options) {
#if defined(PELVARO_IN_PROCESS)
    if (!options.plugin) {
        entry_ = WatchedEntry(&PluginMain, command, options.timeoutSeconds);
        // Linked in: the resources of the plug-in this build compiled.
        try {
            resources_ = headless::ResourcesFromFile(PELVARO_IN_PROCESS_RES_FILE);
        } catch (const headless::PluginRefused& refused) {
            throw InputError(refused.what());
        }
        return;
    }
#endif
    // Absolute, so that the loader never searches its own path for a bare name.
    const std::string file =
        options.plugin ? std::filesystem::absolute(*options.plugin).string() : DefaultPluginPath();
    try {
        resources_ = headless::ResourcesForModule(file);
        headless::CheckPluginDeclaration(*resources_);
    } catch (const headless::PluginRefused& refused) {
        throw InputError(std::string(refused.what()) + "; not loading '" + file + "'");
    }
    try {
        module_ = std::make_unique<headless::PluginModule>(file);
    } catch (const std::exception& error) {
        throw InputError(error.what());  // names the module and the loader's reason
    }
    entry_ = WatchedEntry(module_->entry(), command, options.timeoutSeconds);
}

std::string HostErrText(HostErr code) {
    const auto bits = static_cast<uint32_t>(code);
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto byte = static_cast<char>((bits >> shift) & 0xFF);
        if (byte < 0x20 || byte > 0x7E) return std::to_string(code);
        text += byte;
    }
    return text + "'";
}

void CheckAnswer(const headless::Host& host, HostErr code, const char* message) {
    const std::vector<std::string>& problems = host.Problems();
    if (code == kNoErr && problems.empty()) return;
    std::string reasons;
    for (const std::string& problem : problems)
        reasons += (reasons.empty() ? "" : "; also ") + problem;
    if (code == kNoErr) {
        throw JobError(
            std::string("the host could not do what the plug-in asked while it handled ") +
            message + ": " + reasons);
    }
    std::string text =
        std::string("the plug-in answered ") + message + " with " + HostErrText(code);
    if (!reasons.empty()) text += " after the host failed it: " + reasons;
    throw JobError(text);
}

HostErr PrepareParameters(headless::Host& host, PluginMainProc entry, const JitterParams& params) {
    host.ScriptDialog(ParametersDialogScript(params));
    return host.FilterGetParameters(entry);
}

std::string RunFilter(headless::Document& document, PluginMainProc entry,
                      const JitterParams& params, uint32_t seed, const HostSetup& setup,
                      std::shared_ptr<const headless::ResourceSource> resources,
                      std::ostream* trace) {
    headless::Host host(document, seed);
    if (trace != nullptr) host.LogCalls(true);
    host.LoadPlugin(std::move(resources));
    if (setup) setup(host);
    CheckAnswer(host, host.Startup(entry), "\"SP Interface\"/\"Startup\"");
    HostErr code = PrepareParameters(host, entry, params);
    const char* failed = "\"AI Filter\"/\"AI Get Parameters\"";
    if (code == kNoErr) {
        code = host.FilterGo(entry);
        failed = "\"AI Filter\"/\"AI Go\"";
    }
    // Shut down after a failed run too, so the plug-in frees what it holds.
    const HostErr shutdown = host.Shutdown(entry);
    if (trace != nullptr) host.WriteCallLog(*trace);
    CheckAnswer(host, code, failed);
    CheckAnswer(host, shutdown, "\"SP Interface\"/\"Shutdown\"");
    const headless::Holdings held = host.Held();
    return held.Empty() ? std::string() : held.Describe();
}

}  // namespace cli
