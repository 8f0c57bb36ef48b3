#include "cli/svg/PathsAsRead.h"

#include <cstring>

namespace cli::svg {

namespace {

bool Same(const RealPoint& a, const RealPoint& b) { return a.h == b.h && a.v == b.v; }

}  // namespace

PathsAsRead::PathsAsRead(const headless::Document& document) {
    std::size_t total = 0;
    for (const headless::Art& art : document.art) total += art.segments.size();
    anchors_.reserve(total);
    start_.reserve(document.art.size() + 1);
    fills_.reserve(document.art.size());
    for (const headless::Art& art : document.art) {
        start_.push_back(anchors_.size());
        for (const PathSegment& segment : art.segments)
            anchors_.push_back({segment.in, segment.p, segment.out});
        fills_.push_back(FillOf(art.style));
    }
    start_.push_back(anchors_.size());
}

PathsAsRead::Fill PathsAsRead::FillOf(const PathStyle& style) {
    Fill fill{style.fillPaint, style.fillColorKind, {}};
    std::memcpy(fill.color, style.fillColor, sizeof fill.color);
    return fill;
}

bool PathsAsRead::Moved(std::size_t art, const headless::Art& now) const {
    const std::size_t first = start_[art];
    if (now.segments.size() != start_[art + 1] - first) return true;
    for (std::size_t s = 0; s < now.segments.size(); ++s) {
        const PathSegment& segment = now.segments[s];
        const Anchor& was = anchors_[first + s];
        if (!Same(segment.p, was.p) || !Same(segment.in, was.in) || !Same(segment.out, was.out))
            return true;
    }
    return false;
}

bool PathsAsRead::Recoloured(std::size_t art, const PathStyle& now) const {
    const Fill& was = fills_[art];
    return now.fillPaint != was.paint || now.fillColorKind != was.kind ||
           std::memcmp(now.fillColor, was.color, sizeof was.color) != 0;
}

}  // namespace cli::svg
