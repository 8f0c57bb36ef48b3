// The plug-in as the tests drive it: the built module loaded by path, or,
// where modules cannot be loaded (static builds), the entry linked in.
#pragma once

#include <memory>

#include "headless/Document.h"
#include "headless/Host.h"
#include "headless/PluginModule.h"
#include "plugin/HostInterface.h"

#if defined(PELVARO_IN_PROCESS)
#include "plugin/PluginMain.h"
#endif

namespace testing_support {

// A fresh load of the plug-in; a module is unloaded with it, so every test
// starts from a plug-in with no state.
class PluginUnderTest {
public:
    PluginUnderTest() {
#if !defined(PELVARO_IN_PROCESS)
        module_ = std::make_unique<headless::PluginModule>(PELVARO_MODULE_PATH);
#endif
    }

    PluginMainProc entry() const {
#if defined(PELVARO_IN_PROCESS)
        return &PluginMain;
#else
        return module_->entry();
#endif
    }

    // Unloads and loads the module again (nothing to do when linked in).
    void Reload() {
#if !defined(PELVARO_IN_PROCESS)
        module_.reset();
        module_ = std::make_unique<headless::PluginModule>(PELVARO_MODULE_PATH);
#endif
    }

private:
    std::unique_ptr<headless::PluginModule> module_;
};

// Builders for small documents.
inline PathSegment Corner(float x, float y) {
    PathSegment s{};
    s.p = s.in = s.out = RealPoint{x, y};
    s.corner = 1;
    return s;
}

inline headless::Art Polygon(std::initializer_list<RealPoint> points, bool filled = false,
                             float gray = 0.5f) {
    headless::Art art;
    for (const RealPoint& p : points) art.segments.push_back(Corner(p.h, p.v));
    if (filled) {
        art.style.fillPaint = 1;
        art.style.fillColorKind = kGrayColor;
        art.style.fillColor[0] = gray;
    }
    art.style.strokePaint = 1;
    art.style.strokeWidth = 0.5f;
    return art;
}

inline headless::Art Square(float x, float y, float size, bool filled = false) {
    return Polygon({{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}}, filled);
}

}  // namespace testing_support
