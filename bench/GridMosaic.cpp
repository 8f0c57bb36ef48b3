#include "bench/GridMosaic.h"

#include <cmath>

namespace bench {

namespace {

constexpr float kTile = 7.35f;  // tile side in points
constexpr float kOrigin = -1234.55f;

PathSegment Corner(float x, float y) {
    PathSegment segment{};
    segment.p = {x, y};
    segment.in = segment.p;
    segment.out = segment.p;
    segment.corner = 1;
    return segment;
}

}  // namespace

headless::Document GridMosaic(std::size_t anchors) {
    const std::size_t tiles = anchors / 4 > 0 ? anchors / 4 : 1;
    const auto columns = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(tiles))));
    headless::Document document;
    document.art.reserve(tiles);
    for (std::size_t t = 0; t < tiles; ++t) {
        const auto left = kOrigin + kTile * static_cast<float>(t % columns);
        const auto top = kOrigin + kTile * static_cast<float>(t / columns);
        const float right = kOrigin + kTile * static_cast<float>(t % columns + 1);
        const float bottom = kOrigin + kTile * static_cast<float>(t / columns + 1);
        headless::Art tile;
        tile.segments = {Corner(left, top), Corner(right, top), Corner(right, bottom),
                         Corner(left, bottom)};
        tile.style.fillPaint = 1;
        tile.style.fillColorKind = kGrayColor;
        tile.style.fillColor[0] = static_cast<float>(t % 100) / 100.0f;
        document.art.push_back(std::move(tile));
    }
    return document;
}

}  // namespace bench
