// SVG path data, read into subpaths of cubic nodes and written back.
//
// Reading follows the whole path grammar (lib2geom's parser): absolute and
// relative commands, implicit repeats, compact numbers and flags. Lines are
// nodes whose handles sit on their anchors, quadratics become their exact
// cubics and arcs become cubics of at most 90 degrees each.
#pragma once

#include <2geom/point.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cli::svg {

// One anchor with its two direction points, in the element's own coordinates.
struct Node {
    Geom::Point in, p, out;
};

struct Subpath {
    std::vector<Node> nodes;
    bool closed = false;
};

struct PathGeometry {
    std::vector<Subpath> subpaths;
    bool hadArcs = false;  // an arc became several nodes
};

// A fault in path data: offset is the index of the first character that
// does not fit the grammar (the end of the text when it stops short).
struct PathDataError : std::runtime_error {
    PathDataError(std::size_t where, const std::string& message)
        : std::runtime_error(message), offset(where) {}
    std::size_t offset;
};

PathGeometry ParsePathData(std::string_view data);

// Appends the absolute M, L, C and Z text of a subpath (cli/PathText.h).
void AppendPathData(const Subpath& subpath, std::string& out);

}  // namespace cli::svg
