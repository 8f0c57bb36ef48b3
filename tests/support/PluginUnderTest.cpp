#include "support/PluginUnderTest.h"

#include "headless/PluginResources.h"

#if defined(PELVARO_IN_PROCESS)
#include "plugin/PluginMain.h"
#endif

namespace testing_support {

const char* PluginModulePath() {
#if defined(PELVARO_IN_PROCESS)
    return "";
#else
    return PELVARO_MODULE_PATH;
#endif
}

const char* PluginResourceFile() { return PELVARO_RES_FILE; }

std::shared_ptr<const headless::ResourceSource> PluginResources() {
#if defined(PELVARO_IN_PROCESS)
    static const auto resources = headless::ResourcesFromFile(PluginResourceFile());
#else
    static const auto resources = headless::ResourcesForModule(PluginModulePath());
#endif
    return resources;
}

PluginUnderTest::PluginUnderTest() { Reload(); }

PluginUnderTest::~PluginUnderTest() = default;

PluginMainProc PluginUnderTest::entry() const {
#if defined(PELVARO_IN_PROCESS)
    return &PluginMain;
#else
    return module_->entry();
#endif
}

void PluginUnderTest::Reload() {
#if !defined(PELVARO_IN_PROCESS)
    module_.reset();
    module_ = std::make_unique<headless::PluginModule>(PluginModulePath());
#endif
}

}  // namespace testing_support
