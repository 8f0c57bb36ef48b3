#include "bench/PlainLoop.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <unordered_map>

namespace bench {

namespace {

constexpr double kPi = 3.1415927410125732;

// The headless host's random source: the top 24 bits of the engine.
float Draw(std::mt19937& engine) { return static_cast<float>(engine() >> 8) / 16777216.0f; }

struct Offset {
    float dx;
    float dy;
};

}  // namespace

std::size_t SnprintfPositionText(float x, float y, char* buffer, std::size_t size) {
    const int length =
        std::snprintf(buffer, size, "%.1f_%.1f", static_cast<double>(x), static_cast<double>(y));
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

void PlainJitter(headless::Document& document, const JitterParams& params, uint32_t seed,
                 PositionFormatter format) {
    std::mt19937 engine(seed);
    std::unordered_map<std::string, Offset> offsets;
    for (headless::Art& art : document.art) {
        if (art.type != kPathArt || !art.selected) continue;
        if (params.moveRange > 0) {
            for (PathSegment& segment : art.segments) {
                char text[128];
                const std::size_t length = format(segment.p.h, segment.p.v, text, sizeof text);
                const std::string key(text, length);
                auto found = offsets.find(key);
                if (found == offsets.end()) {
                    const auto angle = static_cast<float>(Draw(engine) * kPi);
                    const auto distance =
                        static_cast<float>((Draw(engine) - 0.5) * params.moveRange);
                    const Offset offset{
                        static_cast<float>(std::cos(static_cast<double>(angle))) * distance,
                        static_cast<float>(std::sin(static_cast<double>(angle))) * distance};
                    found = offsets.emplace(key, offset).first;
                }
                const Offset offset = found->second;
                for (RealPoint* point : {&segment.p, &segment.in, &segment.out}) {
                    point->h += offset.dx;
                    point->v += offset.dy;
                }
            }
        }
        if (params.randomFill && art.style.fillPaint) {
            const float level = (params.grayMax - params.grayMin) * Draw(engine) + params.grayMin;
            art.style.fillColorKind = kGrayColor;
            art.style.fillColor[0] = static_cast<float>(level / 100.0);
        }
    }
}

}  // namespace bench
