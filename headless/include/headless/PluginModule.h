// A plug-in module loaded from a file, with its entry point resolved.
#pragma once

#include <string>

#include "hostinterface/HostInterface.h"

namespace headless {

class PluginModule {
public:
    // Loads path and resolves PluginMain; throws std::runtime_error naming
    // the path and the loader's message when either fails.
    explicit PluginModule(const std::string& path);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    PluginMainProc entry() const { return entry_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    void* handle_ = nullptr;
    PluginMainProc entry_ = nullptr;
};

}  // namespace headless
