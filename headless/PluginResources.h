// Where the headless host finds a plug-in's resources. On the real host they
// are inside the module; here the module is built without them and the
// compiled .res file of the resource script stands in, so the strings, the
// dialog and the declaration are the shipped ones.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

#include "headless/resources/Declaration.h"
#include "headless/resources/ResourceSource.h"

namespace headless {

// The host will not run a plug-in: its declaration is wrong or missing, or its
// resources cannot be read. The message names the resources and the fault.
class PluginRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The compiled resources of the plug-in this build makes, read once per
// process. Throws PluginRefused naming the file when it cannot be read.
std::shared_ptr<const ResourceSource> ShippedResources();
// The path of that file.
std::string ShippedResourceFile();

// The resources in the .res file at path. Throws PluginRefused naming it.
std::shared_ptr<const ResourceSource> ResourcesFromFile(const std::string& path);

// The resources of the module at modulePath. On Windows the module's own,
// read from the file as data. Elsewhere (where the module is built without
// them) the .res file of the same name beside it when there is one
// (Pelvaro.aip: Pelvaro.res), else the shipped ones. Throws PluginRefused
// when they cannot be read.
std::shared_ptr<const ResourceSource> ResourcesForModule(const std::string& modulePath);

// The host's load-time check of the declaration in resources: what it
// declares, or PluginRefused naming the resources, the fault and the fix.
Declaration CheckPluginDeclaration(const ResourceSource& resources);

}  // namespace headless
