#include "headless/PluginResources.h"

#include <exception>

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

}  // namespace headless
