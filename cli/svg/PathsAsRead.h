// The paths of a document as they were read, so that the writer can tell
// which ones the run moved or recoloured. Anchors are kept in one flat array
// (no allocation per path), about a third of what a copy of the document
// would take.
#pragma once

#include <cstddef>
#include <vector>

#include "headless/Document.h"

namespace cli::svg {

class PathsAsRead {
public:
    PathsAsRead() = default;
    explicit PathsAsRead(const headless::Document& document);

    // True when the path at index art of the document differs from its
    // reading in any anchor or handle, or in its number of anchors.
    bool Moved(std::size_t art, const headless::Art& now) const;
    // True when its fill paint, colour kind or colour bits differ.
    bool Recoloured(std::size_t art, const PathStyle& now) const;

private:
    struct Anchor {
        RealPoint in, p, out;
    };
    struct Fill {
        HostBool paint;
        int32_t kind;
        float color[4];
    };
    static Fill FillOf(const PathStyle& style);

    std::vector<Anchor> anchors_;     // every path's, in document order
    std::vector<std::size_t> start_;  // path i: anchors_[start_[i]] to anchors_[start_[i + 1]]
    std::vector<Fill> fills_;
};

}  // namespace cli::svg
