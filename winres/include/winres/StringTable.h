// STRINGTABLE resources: strings are stored in blocks of sixteen, block
// n + 1 holding the string ids 16n to 16n + 15, each a 16-bit length in
// UTF-16 units and then the text. A length of 0 means no string.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "winres/ResourceSource.h"

namespace headless {

using StringBlock = std::array<std::string, 16>;  // UTF-8; empty where absent

constexpr uint16_t StringBlockId(uint16_t stringId) {
    return static_cast<uint16_t>(stringId / 16 + 1);
}

// Throws ResourceError with where and the offset on bad bytes.
StringBlock DecodeStringBlock(std::span<const uint8_t> bytes, const std::string& where);

// String stringId in language (any language when none is given), or nullopt
// when the source has no such string. Throws ResourceError on a bad block.
std::optional<std::string> FindString(const ResourceSource& source, uint16_t stringId,
                                      std::optional<uint16_t> language);

}  // namespace headless
