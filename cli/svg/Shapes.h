// Basic shapes as a vector editor sees them: outlines of cubic nodes.
#pragma once

#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/svg/PathData.h"

namespace cli::svg {

// The shape elements, by local name.
bool IsShape(std::string_view type);

// The attributes that give a shape its geometry (a <path> written in its
// place keeps every other attribute).
bool IsShapeGeometryAttribute(std::string_view type, std::string_view attribute);

// A shape attribute this reader cannot take: bad is the attribute's name.
struct ShapeError : std::runtime_error {
    ShapeError(std::string name, const std::string& message, bool leaveAlone)
        : std::runtime_error(message), attribute(std::move(name)), unsupported(leaveAlone) {}
    std::string attribute;
    // True for values that are valid SVG but need what this reader does not
    // know (em, ex, %): the element is left as it is, with a warning.
    bool unsupported;
};

// The outline of a rect (with rounded corners), circle, ellipse, line,
// polyline or polygon, in the element's own coordinates. No subpath for a
// shape that draws nothing (a zero width, radius or no points).
PathGeometry ShapeGeometry(const pugi::xml_node& element, std::string_view type);

}  // namespace cli::svg
