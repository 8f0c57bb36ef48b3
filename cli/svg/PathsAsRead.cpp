#include "cli/svg/PathsAsRead.h"

#include <cstring>

namespace cli::svg {

namespace {

// Mixes one 32-bit word into h (a multiply-xorshift step, as in MurmurHash).
uint64_t Mix(uint64_t h, uint32_t word) {
    h ^= word;
    h *= 0x9E3779B97F4A7C15ull;
    return h ^ (h >> 29);
}

// The bits of a coordinate, with -0 as 0: values that compare equal hash
// alike, so an unmoved path never looks moved.
uint32_t Bits(float value) {
    if (value == 0.0f) return 0;
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

PathsAsRead::PathsAsRead(const headless::Document& document) {
    paths_.reserve(document.art.size());
    for (const headless::Art& art : document.art)
        paths_.push_back({AnchorHash(art), FillOf(art.style)});
}

uint64_t PathsAsRead::AnchorHash(const headless::Art& art) {
    uint64_t h = Mix(0, static_cast<uint32_t>(art.segments.size()));
    for (const PathSegment& segment : art.segments) {
        for (const RealPoint& point : {segment.in, segment.p, segment.out}) {
            h = Mix(h, Bits(point.h));
            h = Mix(h, Bits(point.v));
        }
    }
    return h;
}

PathsAsRead::Fill PathsAsRead::FillOf(const PathStyle& style) {
    Fill fill{style.fillPaint, style.fillColorKind, {}};
    std::memcpy(fill.color, style.fillColor, sizeof fill.color);
    return fill;
}

bool PathsAsRead::MaybeUnmoved(std::size_t art, const headless::Art& now) const {
    return AnchorHash(now) == paths_[art].anchors;
}

bool PathsAsRead::Recoloured(std::size_t art, const PathStyle& now) const {
    const Fill& was = paths_[art].fill;
    return now.fillPaint != was.paint || now.fillColorKind != was.kind ||
           std::memcmp(now.fillColor, was.color, sizeof was.color) != 0;
}

}  // namespace cli::svg
