#include "cli/Joints.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <utility>

namespace cli {

namespace {

// Whether a and b lie at most tolerance apart, as hypot tells: most pairs are
// plainly inside or outside, told by the squares; only those near the limit
// pay for hypot.
bool Within(const RealPoint& a, const RealPoint& b, double tolerance) {
    const double dx = static_cast<double>(a.h) - b.h;
    const double dy = static_cast<double>(a.v) - b.v;
    if (dx == 0.0 && dy == 0.0) return 0.0 <= tolerance;
    const double squared = dx * dx + dy * dy;
    const double limit = tolerance * tolerance;
    if (squared < limit * (1.0 - 1e-9)) return true;
    if (squared > limit * (1.0 + 1e-9)) return false;
    return std::hypot(dx, dy) <= tolerance;
}

// A grid of square cells one tolerance wide: anchors within the tolerance of
// each other sit in the same or in neighbouring cells.
int64_t CellOf(float coordinate, double width) {
    const double cell = std::floor(static_cast<double>(coordinate) / width);
    return static_cast<int64_t>(std::clamp(cell, -4.0e18, 4.0e18));
}

struct Entry {
    int64_t x, y;  // the cell, counted from the smallest (so never negative)
    RealPoint p;   // the anchor, at hand when pairs are measured
    AnchorRef ref;
};

// Sorts entries by cell (x, then y), keeping document order within a cell:
// a stable radix sort, 12 bits a pass (the counts stay in the fastest cache),
// over only the digits that vary. Where both counts fit one 64-bit key
// (always, but for cells spread over the whole float range) one sort by that
// key does; else by y, then by x.
void SortByCell(std::vector<Entry>& entries, uint64_t largestX, uint64_t largestY) {
    constexpr int kDigitBits = 12;
    constexpr uint64_t kDigitMask = (uint64_t{1} << kDigitBits) - 1;
    std::vector<Entry> sorted(entries.size());
    std::vector<std::size_t> start(std::size_t{1} << kDigitBits);
    const auto sortBy = [&](auto key, uint64_t largest) {
        for (int shift = 0; shift < 64 && (largest >> shift) != 0; shift += kDigitBits) {
            const auto digit = [&](const Entry& e) {
                return static_cast<std::size_t>((key(e) >> shift) & kDigitMask);
            };
            std::fill(start.begin(), start.end(), 0);
            for (const Entry& e : entries) ++start[digit(e)];
            std::size_t at = 0;
            for (std::size_t& first : start) at += std::exchange(first, at);
            for (const Entry& e : entries) sorted[start[digit(e)]++] = e;
            entries.swap(sorted);
        }
    };
    const auto x = [](const Entry& e) { return static_cast<uint64_t>(e.x); };
    const auto y = [](const Entry& e) { return static_cast<uint64_t>(e.y); };
    if (largestY < UINT64_MAX && largestX <= (UINT64_MAX - largestY) / (largestY + 1)) {
        const uint64_t rows = largestY + 1;
        sortBy([rows, x, y](const Entry& e) { return x(e) * rows + y(e); },
               largestX * rows + largestY);
    } else {
        sortBy(y, largestY);
        sortBy(x, largestX);
    }
}

// Entries [begin, end) of one cell.
struct Run {
    int64_t x, y;
    std::size_t begin, end;
};

bool Before(const Run& run, int64_t x, int64_t y) { return run.x != x ? run.x < x : run.y < y; }

}  // namespace

std::vector<Joint> FindJoints(const headless::Document& document, double tolerance) {
    // With no tolerance, anchors join only at one position: any cell width
    // keeps them in one cell.
    const double width = tolerance > 0.0 ? tolerance : 1.0;
    std::size_t count = 0;
    for (const headless::Art& art : document.art)
        if (art.type == kPathArt && art.selected) count += art.segments.size();
    std::vector<Entry> entries;
    entries.reserve(count);
    int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
    for (uint32_t a = 0; a < document.art.size(); ++a) {
        const headless::Art& art = document.art[a];
        if (art.type != kPathArt || !art.selected) continue;
        for (uint32_t s = 0; s < art.segments.size(); ++s) {
            const RealPoint& p = art.segments[s].p;
            if (!std::isfinite(p.h) || !std::isfinite(p.v)) continue;
            const Entry& e =
                entries.emplace_back(Entry{CellOf(p.h, width), CellOf(p.v, width), p, {a, s}});
            minX = std::min(minX, e.x);
            maxX = std::max(maxX, e.x);
            minY = std::min(minY, e.y);
            maxY = std::max(maxY, e.y);
        }
    }
    if (entries.empty()) return {};
    for (Entry& e : entries) {
        e.x -= minX;
        e.y -= minY;
    }
    // Sorted by cell, the cells form runs; each pair of neighbouring cells
    // is looked at once, from the smaller: the same cell, the one below, and
    // the three of the next column, which a pointer finds moving forward only.
    SortByCell(entries, static_cast<uint64_t>(maxX - minX), static_cast<uint64_t>(maxY - minY));
    std::vector<Run> runs;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (runs.empty() || runs.back().x != entries[i].x || runs.back().y != entries[i].y) {
            runs.push_back({entries[i].x, entries[i].y, i, i});
        }
        runs.back().end = i + 1;
    }
    std::vector<Joint> joints;
    const auto pair = [&](const Entry& e, const Entry& f) {
        if (e.ref.art == f.ref.art) return;
        if (!Within(e.p, f.p, tolerance)) return;
        const bool eFirst = std::tie(e.ref.art, e.ref.segment) < std::tie(f.ref.art, f.ref.segment);
        joints.push_back(eFirst ? Joint{e.ref, f.ref} : Joint{f.ref, e.ref});
    };
    const auto across = [&](const Run& r, const Run& q) {
        for (std::size_t i = r.begin; i < r.end; ++i) {
            for (std::size_t j = q.begin; j < q.end; ++j) pair(entries[i], entries[j]);
        }
    };
    std::size_t next = 0;  // the first run at or after (x + 1, y - 1)
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const Run& r = runs[k];
        for (std::size_t i = r.begin; i < r.end; ++i) {
            for (std::size_t j = i + 1; j < r.end; ++j) pair(entries[i], entries[j]);
        }
        if (k + 1 < runs.size() && runs[k + 1].x == r.x && runs[k + 1].y == r.y + 1) {
            across(r, runs[k + 1]);
        }
        while (next < runs.size() && Before(runs[next], r.x + 1, r.y - 1)) ++next;
        for (std::size_t q = next; q < runs.size() && runs[q].x == r.x + 1 && runs[q].y <= r.y + 1;
             ++q) {
            across(r, runs[q]);
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
    // The anchors in one flat list, read in document order, so that each
    // joint's two lookups land in one array rather than in each path's own.
    std::vector<std::size_t> first(after.art.size() + 1, 0);
    for (std::size_t a = 0; a < after.art.size(); ++a)
        first[a + 1] = first[a] + after.art[a].segments.size();
    std::vector<RealPoint> anchors;
    anchors.reserve(first.back());
    for (const headless::Art& art : after.art)
        for (const PathSegment& segment : art.segments) anchors.push_back(segment.p);
    const auto at = [&](const AnchorRef& ref) -> const RealPoint& {
        return anchors[first[ref.art] + ref.segment];
    };
    return static_cast<std::size_t>(
        std::count_if(joints.begin(), joints.end(),
                      [&](const Joint& j) { return !Within(at(j.a), at(j.b), tolerance); }));
}

}  // namespace cli
