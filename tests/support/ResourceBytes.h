// Resource bytes as the tests write them: little-endian fields laid out the
// way the Windows resource formats have them, and a byte-for-byte compare.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct Bytes {
    std::vector<uint8_t> b;

    Bytes& U16(uint32_t v) {
        b.push_back(static_cast<uint8_t>(v & 0xFF));
        b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    // A four-character code as a little-endian integer: 'ADBE' is E B D A.
    Bytes& Code(const std::string& code);
    // text, then zero bytes up to length.
    Bytes& Padded(const std::string& text, size_t length);
    // Zero-terminated UTF-16 (ASCII text only).
    Bytes& Str16(const std::string& text);
    Bytes& Align4();
    Bytes& Append(const std::vector<uint8_t>& more);
};

// One PiPL property: vendor, key, id 0, data length, data.
void AddProperty(Bytes& pipl, const std::string& vendor, const std::string& key, const Bytes& data);

// The length a PiPL text property takes: the text and at least two zero bytes,
// rounded up to four.
size_t PiplTextLength(const std::string& text);

// Equal bytes, or the first offset where they differ.
testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual,
                                   const std::vector<uint8_t>& expected);

}  // namespace testing_support
