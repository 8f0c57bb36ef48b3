// Where the headless host finds a plug-in's resources: only with the module
// being loaded. A Windows module carries them; elsewhere a module is built
// without them and its compiled resource script sits beside it, with the
// module's name and the extension .res (Pelvaro.aip: Pelvaro.res).
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "winres/Declaration.h"
#include "winres/ResourceSource.h"

namespace headless {

// The host will not run a plug-in: its declaration is wrong or missing, or its
// resources cannot be read. The message names the resources and the fault.
class PluginRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The resources in the .res file at path. Throws PluginRefused naming it.
std::shared_ptr<const ResourceSource> ResourcesFromFile(const std::string& path);

// The file beside modulePath that holds its resources where modules do not
// carry them: the same name with the extension .res.
std::string ResourceFileBeside(const std::string& modulePath);

// The resources of the module at modulePath. On Windows the module's own,
// read from the file as data; elsewhere those of ResourceFileBeside. Throws
// PluginRefused naming the module when there are none or they cannot be read.
std::shared_ptr<const ResourceSource> ResourcesForModule(const std::string& modulePath);

// The host's load-time check of the declaration in resources: what it
// declares, or PluginRefused naming the resources, the fault and the fix.
Declaration CheckPluginDeclaration(const ResourceSource& resources);

}  // namespace headless
