// Mosaics of any size for the benchmarks: square tiles in a grid, each a
// closed path of four corners shared with its neighbours, as a designer's
// tiling is.
#pragma once

#include <cstddef>

#include "headless/Document.h"

namespace bench {

// About anchors anchors (four per tile, rounded down to whole tiles; at least
// one tile) in rows of equal tiles, the last row perhaps shorter. Every tile
// is selected and filled with a gray; corners sit at fractions of a point so
// that their texts are not plain integers.
headless::Document GridMosaic(std::size_t anchors);

}  // namespace bench
