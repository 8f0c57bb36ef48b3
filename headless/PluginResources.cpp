#include "headless/PluginResources.h"

#include <exception>
#include <filesystem>
#include <system_error>

#include "headless/resources/ModuleResources.h"
#include "headless/resources/ResFile.h"

#if !defined(HEADLESS_PLUGIN_RES_FILE)
#error \
    "HEADLESS_PLUGIN_RES_FILE must name the plug-in's compiled resources (headless/CMakeLists.txt)"
#endif

namespace headless {

std::string ShippedResourceFile() { return HEADLESS_PLUGIN_RES_FILE; }

std::shared_ptr<const ResourceSource> ResourcesFromFile(const std::string& path) {
    try {
        return std::make_shared<ResourceSet>(LoadResFile(path));
    } catch (const std::exception& error) {
        throw PluginRefused(std::string("cannot read the plug-in's resources: ") + error.what());
    }
}

std::shared_ptr<const ResourceSource> ShippedResources() {
    static std::shared_ptr<const ResourceSource> shipped;
    if (!shipped) {
        try {
            shipped = ResourcesFromFile(ShippedResourceFile());
        } catch (const PluginRefused& error) {
            throw PluginRefused(std::string(error.what()) +
                                " (build the target pelvaro_resources, which compiles them)");
        }
    }
    return shipped;
}

std::shared_ptr<const ResourceSource> ResourcesForModule(const std::string& modulePath) {
#if defined(_WIN32)
    // A Windows module carries its resources: read them as the host does,
    // from the file mapped as data, before any of its code is loaded.
    std::error_code missing;
    if (std::filesystem::is_regular_file(modulePath, missing)) {
        try {
            return ModuleResources::OpenDataFile(modulePath);
        } catch (const std::exception& error) {
            throw PluginRefused(std::string("cannot read the plug-in's resources: ") +
                                error.what());
        }
    }
#endif
    std::filesystem::path beside(modulePath);
    beside.replace_extension(".res");
    std::error_code error;
    if (std::filesystem::is_regular_file(beside, error)) return ResourcesFromFile(beside.string());
    return ShippedResources();
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
