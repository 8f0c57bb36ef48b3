#include "winres/Pipl.h"

#include <algorithm>
#include <cstdio>

#include "winres/ByteReader.h"

namespace headless {

std::string FourCCText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((code >> shift) & 0xFF);
        if (c < 0x20 || c > 0x7E) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
            return hex;
        }
        text += c;
    }
    return text;
}

std::optional<uint32_t> PiplProperty::Integer() const {
    if (data.size() != 4) return std::nullopt;
    return static_cast<uint32_t>(data[0]) | (static_cast<uint32_t>(data[1]) << 8) |
           (static_cast<uint32_t>(data[2]) << 16) | (static_cast<uint32_t>(data[3]) << 24);
}

std::optional<std::string> PiplProperty::Text() const {
    const auto zero = std::find(data.begin(), data.end(), uint8_t{0});
    if (zero == data.end()) return std::nullopt;
    return std::string(data.begin(), zero);
}

const PiplProperty* Pipl::Find(uint32_t vendor, uint32_t key) const {
    for (const PiplProperty& property : properties) {
        if (property.vendor == vendor && property.key == key) return &property;
    }
    return nullptr;
}

Pipl DecodePipl(std::span<const uint8_t> bytes, const std::string& where) {
    ByteReader in(bytes, where);
    Pipl pipl;
    pipl.marker = in.U16("resource marker");
    pipl.version = in.I32("version");
    const size_t countAt = in.pos();
    const uint32_t count = in.U32("property count");
    // Each property takes at least its 16-byte head.
    if (count > in.remaining() / 16) {
        in.Fail(countAt, "property count " + std::to_string(count) + " does not fit in the " +
                             std::to_string(in.remaining()) + " bytes that follow");
    }
    for (uint32_t i = 0; i < count; ++i) {
        const std::string number = "property " + std::to_string(i + 1);
        if (in.remaining() < 16) {
            in.Fail(in.pos(), number + " of " + std::to_string(count) +
                                  " is cut short: " + std::to_string(in.remaining()) +
                                  " bytes left, its head needs 16");
        }
        PiplProperty property;
        property.offset = in.pos();
        property.vendor = in.U32("vendor code");
        property.key = in.U32("property key");
        property.id = in.I32("property id");
        const size_t lengthAt = in.pos();
        property.length = in.U32("property length");
        // 64-bit so that a length near 4 GiB cannot wrap on 32-bit hosts.
        const uint64_t padded = (uint64_t{property.length} + 3) & ~uint64_t{3};
        if (padded > in.remaining()) {
            in.Fail(lengthAt, number + " ('" + FourCCText(property.key) + "'): length " +
                                  std::to_string(property.length) + " runs past the end (" +
                                  std::to_string(in.remaining()) + " bytes left)");
        }
        property.data = in.Bytes(property.length, "property data");
        in.Skip(static_cast<size_t>(padded - property.length), "property padding");
        pipl.properties.push_back(std::move(property));
    }
    if (!in.AtEnd()) {
        in.Fail(in.pos(), std::to_string(in.remaining()) + " bytes follow the last of the " +
                              std::to_string(count) + " properties");
    }
    return pipl;
}

}  // namespace headless
