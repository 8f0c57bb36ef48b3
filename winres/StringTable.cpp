#include "winres/StringTable.h"

#include "winres/ByteReader.h"
#include "winres/Utf16.h"

namespace headless {

StringBlock DecodeStringBlock(std::span<const uint8_t> bytes, const std::string& where) {
    ByteReader in(bytes, where);
    StringBlock block;
    for (std::string& text : block) {
        const uint16_t length = in.U16("string length");
        std::u16string units;
        units.reserve(length);
        in.Need(size_t{length} * 2, "string text");
        for (uint16_t i = 0; i < length; ++i) units += static_cast<char16_t>(in.U16("string text"));
        text = Utf8FromUtf16(units);
    }
    // Some compilers pad a block with zero bytes; nothing else may follow.
    while (!in.AtEnd()) {
        const size_t at = in.pos();
        if (in.Bytes(1, "padding")[0] != 0) in.Fail(at, "data follows the sixteenth string");
    }
    return block;
}

std::optional<std::string> FindString(const ResourceSource& source, uint16_t stringId,
                                      std::optional<uint16_t> language) {
    const uint16_t blockId = StringBlockId(stringId);
    const auto bytes = source.Find(kStringType, blockId, language);
    if (!bytes) return std::nullopt;
    const StringBlock block =
        DecodeStringBlock(*bytes, source.Origin() + ": " + DescribeResource(kStringType, blockId));
    std::string text = block[stringId % 16];
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace headless
