// Fill paints of SVG as the host's path style, and back.
#pragma once

#include <string_view>

#include "hostinterface/HostInterface.h"

namespace cli::svg {

// A computed fill value into style: "none" is no fill paint; any other paint
// (a colour, currentColor, url(#...)) is a fill. Colours given as #rgb,
// #rrggbb, rgb(...) or a basic name keep their levels as rgb; other paints
// are black to the host, which only asks whether there is a fill.
void SetFill(std::string_view fill, PathStyle& style);

}  // namespace cli::svg
