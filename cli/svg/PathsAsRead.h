// The paths of a document as they were read, kept small, so that the writer
// can tell which ones the run moved or recoloured: per path a hash of its
// anchors and its fill (32 bytes, where a copy of its anchors took 24 per
// anchor). Another hash means moved for certain; the same hash is confirmed
// by the writer against the element read again, so the answer is exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "headless/Document.h"

namespace cli::svg {

class PathsAsRead {
public:
    PathsAsRead() = default;
    explicit PathsAsRead(const headless::Document& document);

    // False when the path at index art certainly differs from its reading
    // (an anchor or handle, or the number of anchors); true when it may not.
    bool MaybeUnmoved(std::size_t art, const headless::Art& now) const;
    // True when its fill paint, colour kind or colour bits differ.
    bool Recoloured(std::size_t art, const PathStyle& now) const;

private:
    struct Fill {
        HostBool paint;
        int32_t kind;
        float color[4];
    };
    struct Path {
        uint64_t anchors;  // AnchorHash
        Fill fill;
    };
    static uint64_t AnchorHash(const headless::Art& art);
    static Fill FillOf(const PathStyle& style);

    std::vector<Path> paths_;
};

}  // namespace cli::svg
