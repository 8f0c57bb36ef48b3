// The filter's parameters: the record the host keeps in the filter's
// parameters handle between runs. Its bytes are the plug-in's business; the
// host stores them as they are.
#pragma once

#include <cstddef>
#include <cstdint>

struct JitterParams {
    float moveRange;     // points; offsets are at most half of it long
    float grayMin;       // percent
    float grayMax;       // percent
    int32_t randomFill;  // non-zero: give each filled path a random gray
};

constexpr JitterParams kDefaultJitterParams = {6.0f, 5.0f, 95.0f, 1};

// The stored layout: four 32-bit fields, in this order, on every target.
static_assert(sizeof(JitterParams) == 16, "the host keeps JitterParams as 16 bytes");
static_assert(offsetof(JitterParams, moveRange) == 0);
static_assert(offsetof(JitterParams, grayMin) == 4);
static_assert(offsetof(JitterParams, grayMax) == 8);
static_assert(offsetof(JitterParams, randomFill) == 12);
