// A bounds-checked little-endian cursor over resource bytes. Every read past
// the end raises ResourceError naming where the bytes came from and the
// offset of the read.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "winres/ResourceError.h"
#include "winres/ResourceId.h"

namespace headless {

class ByteReader {
public:
    ByteReader(std::span<const uint8_t> bytes, std::string where)
        : bytes_(bytes), where_(std::move(where)), end_(bytes.size()) {}

    // Offsets are from the start of the bytes, also in a sub-reader's errors.
    size_t pos() const { return pos_; }
    size_t end() const { return end_; }
    size_t remaining() const { return end_ - pos_; }
    bool AtEnd() const { return pos_ == end_; }
    const std::string& where() const { return where_; }

    [[noreturn]] void Fail(size_t offset, const std::string& problem) const {
        throw ResourceError(where_, offset, problem);
    }

    // what names the field for the error message, e.g. "item 3's style".
    void Need(size_t count, const char* what) const {
        if (count > remaining()) {
            Fail(pos_, std::string(what) + " needs " + std::to_string(count) + " bytes, only " +
                           std::to_string(remaining()) + " left before byte " +
                           std::to_string(end_));
        }
    }

    uint16_t U16(const char* what) {
        Need(2, what);
        const auto v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    int16_t I16(const char* what) { return static_cast<int16_t>(U16(what)); }
    uint32_t U32(const char* what) {
        Need(4, what);
        const uint32_t v = static_cast<uint32_t>(bytes_[pos_]) |
                           (static_cast<uint32_t>(bytes_[pos_ + 1]) << 8) |
                           (static_cast<uint32_t>(bytes_[pos_ + 2]) << 16) |
                           (static_cast<uint32_t>(bytes_[pos_ + 3]) << 24);
        pos_ += 4;
        return v;
    }
    int32_t I32(const char* what) { return static_cast<int32_t>(U32(what)); }

    std::vector<uint8_t> Bytes(size_t count, const char* what) {
        Need(count, what);
        std::vector<uint8_t> out(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                                 bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + count));
        pos_ += count;
        return out;
    }

    void Skip(size_t count, const char* what) {
        Need(count, what);
        pos_ += count;
    }

    // Moves to the next multiple of four from the start of the bytes. Data
    // that ends exactly at the end may omit its padding.
    void AlignTo4() { pos_ = std::min(end_, (pos_ + 3) & ~size_t{3}); }

    // A reader of the next length bytes only (at most what is left); this
    // reader moves past them.
    ByteReader Sub(size_t length) {
        ByteReader part = *this;
        part.end_ = pos_ + std::min(length, remaining());
        pos_ = part.end_;
        return part;
    }

    // UTF-16 up to and including a zero terminator.
    std::u16string ZString16(const char* what) {
        const size_t start = pos_;
        std::u16string out;
        for (;;) {
            if (remaining() < 2) {
                Fail(start, std::string(what) + " has no zero terminator before the end");
            }
            const uint16_t u = U16(what);
            if (u == 0) return out;
            out += static_cast<char16_t>(u);
        }
    }

    // 0xFFFF and a 16-bit ordinal, or a zero-terminated UTF-16 string.
    ResourceId NameOrOrdinal(const char* what) {
        Need(2, what);
        if (bytes_[pos_] == 0xFF && bytes_[pos_ + 1] == 0xFF) {
            pos_ += 2;
            return ResourceId(U16(what));
        }
        return ResourceId(ZString16(what));
    }

private:
    std::span<const uint8_t> bytes_;
    std::string where_;
    size_t end_;
    size_t pos_ = 0;
};

}  // namespace headless
