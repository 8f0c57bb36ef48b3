// The benchmark mosaic as an SVG drawing, written the way an editor saves a
// tiling: one layer, one <path> per tile with an id, its fill in the style
// attribute and absolute path data.
#pragma once

#include <cstddef>
#include <string>

#include "headless/Document.h"

namespace bench {

// The paths of mosaic (closed, corner anchors) as an SVG document. Edges
// along an axis are written H or V, as editors do; the anchors read back are
// exactly the mosaic's, so the SVG and JSON runs move the same points.
std::string GridMosaicSvg(const headless::Document& mosaic);

}  // namespace bench
