// The text that names an anchor position: "%.1f_%.1f" of x and y, each
// rounded to one decimal with exact halves away from zero.
#pragma once

#include <cstddef>

constexpr std::size_t kPositionTextSize = 128;

// Writes the text of one coordinate into buffer (at most size bytes with the
// terminator) and returns its length, or the length it would have had.
std::size_t FormatOneDecimal(double value, char* buffer, std::size_t size);

// Writes "x_y" into buffer, bounded by size. Returns the full length.
std::size_t FormatPositionText(float x, float y, char* buffer, std::size_t size);
