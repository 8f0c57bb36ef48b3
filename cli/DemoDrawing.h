// The demo's SVG drawing: a mosaic made the way a drawing program saves one.
#pragma once

#include <string>

namespace cli {

// Tiles in two layers with different transforms, classes from a <style>
// block, rects, polygons and a compound path with a round hole. Each tile
// keeps its own copy of every corner it shares, off by float noise of a few
// thousandths, as hand-drawn or converted maps have them, so that some
// copies print apart at one decimal.
std::string DemoDrawing();

}  // namespace cli
