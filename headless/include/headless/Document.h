// The document the headless host holds: art objects in paint order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostinterface/HostInterface.h"

namespace headless {

constexpr int16_t kMaxSegments = 32767;

struct Art {
    int16_t type = kPathArt;  // art of other types is kept but never matched
    bool selected = true;
    bool closed = true;
    std::vector<PathSegment> segments;  // at most kMaxSegments
    PathStyle style{};                  // fillPaint 0: no fill paint
    std::string passthrough;            // members the host does not know, kept verbatim
};

struct Document {
    std::vector<Art> art;
};

}  // namespace headless
