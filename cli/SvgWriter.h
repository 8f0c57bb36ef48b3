// A document as an SVG picture: one <path> per path, in paint order.
#pragma once

#include <string>

#include "headless/Document.h"

namespace cli {

// The path data of one path: absolute M, L, C and Z. An edge from segment i
// to segment j is a line when out of i sits on p of i and in of j on p of j,
// else a cubic curve; a closed path ends with its closing edge, then Z.
// Empty for a path without segments.
std::string SvgPathData(const headless::Art& path);

// The fill of a path: fill paint off gives "none"; a gray level g gives the
// gray of luminance 1 - g (1 is black); rgb and cmyk levels run from 0 to 1.
std::string SvgFill(const PathStyle& style);

// The whole picture, with a viewBox that fits every path with a margin and a
// thin stroke on every path (dashed for paths that are not selected).
std::string WriteSvg(const headless::Document& document);

}  // namespace cli
