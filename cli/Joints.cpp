#include "cli/Joints.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace cli {

namespace {

double Distance(const RealPoint& a, const RealPoint& b) {
    return std::hypot(static_cast<double>(a.h) - b.h, static_cast<double>(a.v) - b.v);
}

const RealPoint& At(const headless::Document& document, const AnchorRef& ref) {
    return document.art[ref.art].segments[ref.segment].p;
}

// A grid of square cells one tolerance wide: anchors within the tolerance of
// each other sit in the same or in neighbouring cells.
struct Cell {
    int64_t x, y;
    bool operator==(const Cell&) const = default;
};
struct CellHash {
    std::size_t operator()(const Cell& c) const {
        return std::hash<uint64_t>()(static_cast<uint64_t>(c.x) * 0x9E3779B97F4A7C15ULL ^
                                     static_cast<uint64_t>(c.y));
    }
};

int64_t CellOf(float coordinate, double width) {
    const double cell = std::floor(static_cast<double>(coordinate) / width);
    return static_cast<int64_t>(std::clamp(cell, -4.0e18, 4.0e18));
}

}  // namespace

std::vector<Joint> FindJoints(const headless::Document& document, double tolerance) {
    // With no tolerance, anchors join only at one position: any cell width
    // keeps them in one cell.
    const double width = tolerance > 0.0 ? tolerance : 1.0;
    std::unordered_map<Cell, std::vector<AnchorRef>, CellHash> grid;
    std::vector<Joint> joints;
    for (uint32_t a = 0; a < document.art.size(); ++a) {
        const headless::Art& art = document.art[a];
        if (art.type != kPathArt || !art.selected) continue;
        for (uint32_t s = 0; s < art.segments.size(); ++s) {
            const RealPoint& p = art.segments[s].p;
            if (!std::isfinite(p.h) || !std::isfinite(p.v)) continue;
            const Cell home{CellOf(p.h, width), CellOf(p.v, width)};
            for (int64_t dx = -1; dx <= 1; ++dx) {
                for (int64_t dy = -1; dy <= 1; ++dy) {
                    const auto it = grid.find({home.x + dx, home.y + dy});
                    if (it == grid.end()) continue;
                    for (const AnchorRef& other : it->second) {
                        if (other.art != a && Distance(At(document, other), p) <= tolerance) {
                            joints.push_back({other, {a, s}});
                        }
                    }
                }
            }
            grid[home].push_back({a, s});
        }
    }
    return joints;
}

std::size_t Weld(headless::Document& document, const std::vector<Joint>& joints) {
    // Anchors numbered in document order; each group's root is its first.
    std::vector<std::size_t> first(document.art.size() + 1, 0);
    for (std::size_t a = 0; a < document.art.size(); ++a) {
        first[a + 1] = first[a] + document.art[a].segments.size();
    }
    const auto number = [&](const AnchorRef& ref) { return first[ref.art] + ref.segment; };
    std::vector<std::size_t> parent(first.back());
    std::iota(parent.begin(), parent.end(), std::size_t{0});
    const auto root = [&](std::size_t n) {
        while (parent[n] != n) n = parent[n] = parent[parent[n]];
        return n;
    };
    for (const Joint& joint : joints) {
        const std::size_t ra = root(number(joint.a)), rb = root(number(joint.b));
        if (ra != rb) parent[std::max(ra, rb)] = std::min(ra, rb);
    }
    std::vector<RealPoint> position(parent.size());
    std::size_t n = 0;
    for (const headless::Art& art : document.art) {
        for (const PathSegment& segment : art.segments) position[n++] = segment.p;
    }
    std::size_t moved = 0;
    n = 0;
    for (headless::Art& art : document.art) {
        for (PathSegment& segment : art.segments) {
            const RealPoint target = position[root(n++)];
            if (target.h == segment.p.h && target.v == segment.p.v) continue;
            const float dx = target.h - segment.p.h, dy = target.v - segment.p.v;
            segment.p = target;
            segment.in = {segment.in.h + dx, segment.in.v + dy};
            segment.out = {segment.out.h + dx, segment.out.v + dy};
            ++moved;
        }
    }
    return moved;
}

std::size_t CountSplit(const headless::Document& after, const std::vector<Joint>& joints,
                       double tolerance) {
    return static_cast<std::size_t>(std::count_if(
        joints.begin(), joints.end(),
        [&](const Joint& j) { return !(Distance(At(after, j.a), At(after, j.b)) <= tolerance); }));
}

}  // namespace cli
