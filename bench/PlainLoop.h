// The filter's work without the host: the same draws from the same engine,
// the same float arithmetic and one map of offsets by position text. The
// benchmarks set the plug-in, run through the headless host, against it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "headless/Document.h"
#include "jitter/JitterParams.h"

namespace bench {

// Writes the position text of (x, y) into buffer; returns its length.
using PositionFormatter = std::size_t (*)(float x, float y, char* buffer, std::size_t size);

// snprintf(buffer, size, "%.1f_%.1f", x, y).
std::size_t SnprintfPositionText(float x, float y, char* buffer, std::size_t size);

// Moves and recolours the selected paths of document as the filter does with
// params and a host seeded with seed, keyed by format's texts in a
// std::unordered_map.
void PlainJitter(headless::Document& document, const JitterParams& params, uint32_t seed,
                 PositionFormatter format);

}  // namespace bench
