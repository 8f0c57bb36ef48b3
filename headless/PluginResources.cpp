#include "headless/PluginResources.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "winres/ModuleResources.h"
#include "winres/ResFile.h"

namespace headless {

std::shared_ptr<const ResourceSource> ResourcesFromFile(const std::string& path) {
    try {
        return std::make_shared<ResourceSet>(LoadResFile(path));
    } catch (const std::exception& error) {
        throw PluginRefused(std::string("cannot read the plug-in's resources: ") + error.what());
    }
}

std::string ResourceFileBeside(const std::string& modulePath) {
    std::filesystem::path beside(modulePath);
    beside.replace_extension(".res");
    return beside.string();
}

std::shared_ptr<const ResourceSource> ResourcesForModule(const std::string& modulePath) {
    std::error_code missing;
    if (!std::filesystem::is_regular_file(modulePath, missing)) {
        throw PluginRefused("cannot load the plug-in module '" + modulePath +
                            "': no such file (check the path)");
    }
#if defined(_WIN32)
    // A Windows module carries its resources: read them as the host does,
    // from the file mapped as data, before any of its code is loaded.
    try {
        return ModuleResources::OpenDataFile(modulePath);
    } catch (const std::exception& error) {
        throw PluginRefused(modulePath + ": cannot read the plug-in's resources: " + error.what() +
                            " (a plug-in module carries its PiPL resource 16000; link the "
                            "compiled resource script into it)");
    }
#else
    // Without its own resources a module could only run on somebody else's
    // declaration: refuse it.
    const std::string beside = ResourceFileBeside(modulePath);
    std::error_code error;
    if (!std::filesystem::is_regular_file(beside, error)) {
        throw PluginRefused(modulePath + ": no plug-in declaration (PiPL resource 16000) found: " +
                            beside + " does not exist (compile the module's resource script " +
                            "into a .res file of the module's name, beside it)");
    }
    return ResourcesFromFile(beside);
#endif
}

Declaration CheckPluginDeclaration(const ResourceSource& resources) {
    const DeclarationCheck check = CheckModuleDeclaration(resources);
    if (!check.ok()) {
        throw PluginRefused("the host refuses the plug-in: " + check.error +
                            " (a plug-in declares kind 'SPEA', interface version 2, entry point "
                            "PluginMain and its name in PiPL 16000)");
    }
    return *check.declaration;
}

}  // namespace headless
