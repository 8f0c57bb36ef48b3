// Texts kept once, each with a dense number in the order first seen. One flat
// table of hashes (open addressing) and the texts side by side in one buffer:
// finding a text costs one probe, and the texts of recent numbers, which a
// caller mostly asks for again, are close together in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace headless::detail {

class TextTable {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    // The number of text, made on first use; throws std::bad_alloc.
    uint32_t Intern(std::string_view text);
    // The number of text, or kNone.
    uint32_t Find(std::string_view text) const;
    std::string_view Text(uint32_t number) const {
        const Span& span = spans_[number];
        return {texts_.data() + span.offset, span.length};
    }
    uint32_t Count() const { return static_cast<uint32_t>(spans_.size()); }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    struct Slot {
        uint64_t hash = 0;
        uint32_t numberPlusOne = 0;  // 0: empty
    };

    static uint64_t Hash(std::string_view text);
    // The slot holding text, or the empty slot where it belongs.
    std::size_t Probe(std::string_view text, uint64_t hash) const;
    void Grow();

    std::vector<Slot> slots_;  // a power of two, at most three quarters full
    std::vector<Span> spans_;  // by number
    std::string texts_;        // every text, one after another
};

}  // namespace headless::detail
