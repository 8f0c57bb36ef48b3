// Path data text, as both SVG writers give it: absolute M, L, C and Z, each
// coordinate the shortest float text. An edge is L when both its handles sit
// on their anchors as written (compared as the floats written, so a handle
// off by less than a float can tell is a line), else C; a closed subpath ends
// with its closing edge, then Z.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "cli/FloatText.h"
#include "hostinterface/HostInterface.h"

namespace cli {

// One anchor with its two direction points, as written.
struct PathTextNode {
    RealPoint in, p, out;
};

// Appends " x y". Coordinates repeat (a handle on its anchor, corners tiles
// share), so recent texts are kept and copied rather than found again.
void AppendPathPoint(const RealPoint& point, std::string& out);

// Appends a subpath; node(element) gives each element's PathTextNode. A
// subpath after other text is set off by a space.
template <class Element, class ToNode>
void AppendSubpathText(std::span<const Element> elements, bool closed, ToNode node,
                       std::string& out) {
    if (elements.empty()) return;
    const auto same = [](const RealPoint& a, const RealPoint& b) {
        return a.h == b.h && a.v == b.v;
    };
    const auto edge = [&](const PathTextNode& from, const PathTextNode& to) {
        if (same(from.out, from.p) && same(to.in, to.p)) {
            out += " L";
        } else {
            out += " C";
            AppendPathPoint(from.out, out);
            AppendPathPoint(to.in, out);
        }
        AppendPathPoint(to.p, out);
    };
    if (!out.empty()) out += ' ';
    out += 'M';
    const PathTextNode first = node(elements[0]);
    AppendPathPoint(first.p, out);
    PathTextNode previous = first;
    for (std::size_t i = 1; i < elements.size(); ++i) {
        const PathTextNode current = node(elements[i]);
        edge(previous, current);
        previous = current;
    }
    if (closed) {
        if (elements.size() > 1) edge(previous, first);
        out += " Z";
    }
}

}  // namespace cli
