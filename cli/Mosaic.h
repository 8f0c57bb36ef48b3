// The built-in mosaic the demo runs the filter on.
#pragma once

#include "headless/Document.h"

namespace cli {

// A grid of adjoining tiles, squares and pairs of triangles that share edges
// and corners: some filled with gray, some with rgb, some without fill, one
// square with a curved outer edge, and one tile left unselected.
headless::Document BuiltInMosaic();

}  // namespace cli
