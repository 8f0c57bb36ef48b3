// The plug-in as the tests drive it: the built module loaded by path, or,
// where modules cannot be loaded (static builds), the entry linked in; and a
// host that has read its resources, as a host does before any message.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "headless/Document.h"
#include "headless/Host.h"
#include "headless/PluginModule.h"
#include "winres/ResourceSource.h"
#include "hostinterface/HostInterface.h"

namespace testing_support {

// The path of the built plug-in module (empty where it is linked in).
const char* PluginModulePath();
// The path of the compiled resources of the built plug-in.
const char* PluginResourceFile();

// The resources of the built plug-in, as the host finds them: beside the
// module (or in it, on Windows), or, linked in, from the compiled .res file.
// Read once per process.
std::shared_ptr<const headless::ResourceSource> PluginResources();

// A fresh load of the plug-in; a module is unloaded with it, so every test
// starts from a plug-in with no state.
class PluginUnderTest {
public:
    PluginUnderTest();
    ~PluginUnderTest();

    PluginMainProc entry() const;
    // Unloads and loads the module again (nothing to do when linked in).
    void Reload();

private:
    std::unique_ptr<headless::PluginModule> module_;
};

// A headless host that has loaded the built plug-in's resources.
class PluginHost : public headless::Host {
public:
    PluginHost(headless::Document& document, uint32_t seed) : Host(document, seed) {
        LoadPlugin(PluginResources());
    }
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
