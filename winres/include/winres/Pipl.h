// The plug-in declaration resource (type "PIPL"): a marker, a version and a
// list of properties, each a vendor code, a key, an id and its data.
// Four-character codes are stored as little-endian 32-bit integers of the
// code, so 'kind' is the bytes d n i k.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace headless {

// 'kind' as the integer 0x6B696E64.
constexpr uint32_t FourCC(const char (&code)[5]) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(code[0])) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 8) |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3]));
}
// "kind", or "0x00000001" when a byte is not printable.
std::string FourCCText(uint32_t code);

struct PiplProperty {
    uint32_t vendor = 0;
    uint32_t key = 0;
    int32_t id = 0;
    uint32_t length = 0;  // as stored; data holds exactly these bytes
    std::vector<uint8_t> data;
    size_t offset = 0;  // where the property starts in the resource

    // The data as a little-endian 32-bit integer, when it is 4 bytes long.
    std::optional<uint32_t> Integer() const;
    // The text before the first zero byte, when there is one.
    std::optional<std::string> Text() const;
};

struct Pipl {
    uint16_t marker = 0;
    int32_t version = 0;
    std::vector<PiplProperty> properties;

    // The first property with this vendor and key, or null.
    const PiplProperty* Find(uint32_t vendor, uint32_t key) const;
};

// Property data is padded to a multiple of four bytes; the padding is not
// part of data. Throws ResourceError with where and the offset on bad bytes.
Pipl DecodePipl(std::span<const uint8_t> bytes, const std::string& where);

}  // namespace headless
