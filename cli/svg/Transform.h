// The transform attribute: a list of matrix, translate, scale, rotate,
// skewX and skewY, composed as SVG does (the rightmost applies first).
#pragma once

#include <2geom/affine.h>

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cli::svg {

struct TransformError : std::runtime_error {
    TransformError(std::size_t where, const std::string& message)
        : std::runtime_error(message), offset(where) {}
    std::size_t offset;  // index of the character where the list goes wrong
};

// The matrix that takes the element's coordinates to its parent's, in
// lib2geom's order: a point maps as p * ParseTransform(text).
Geom::Affine ParseTransform(std::string_view text);

}  // namespace cli::svg
