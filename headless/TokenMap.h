// A map from tokens to small values in one flat array (open addressing,
// linear probing): a lookup touches one place in memory instead of a bucket
// and a node. Entries are added or changed, never erased one by one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace headless::detail {

template <class V>
class TokenMap {
public:
    std::size_t size() const { return size_; }

    // The value under token, or null. Pointers hold until the next Insert.
    V* Find(uintptr_t token) {
        if (slots_.empty() || token == 0) return nullptr;
        for (std::size_t i = Home(token);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.token == token) return &slot.value;
            if (slot.token == 0) return nullptr;
        }
    }

    // Adds value under token (not null) or finds what is there; true when added.
    std::pair<V*, bool> Insert(uintptr_t token, const V& value) {
        if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
        for (std::size_t i = Home(token);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.token == token) return {&slot.value, false};
            if (slot.token == 0) {
                slot.token = token;
                slot.value = value;
                ++size_;
                return {&slot.value, true};
            }
        }
    }

    template <class F>
    void ForEach(F&& f) const {
        for (const Slot& slot : slots_)
            if (slot.token != 0) f(slot.token, slot.value);
    }

private:
    struct Slot {
        uintptr_t token = 0;  // 0: empty
        V value{};
    };

    // Tokens step by 16: drop those bits, then spread the rest (Fibonacci hashing).
    std::size_t Home(uintptr_t token) const {
        const uint64_t spread = (static_cast<uint64_t>(token) >> 4) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(spread >> shift_) & mask_;
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        const std::size_t capacity = old.empty() ? 16 : old.size() * 2;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        shift_ = 64;
        for (std::size_t c = capacity; c > 1; c >>= 1) --shift_;
        size_ = 0;
        for (const Slot& slot : old)
            if (slot.token != 0) Insert(slot.token, slot.value);
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    unsigned shift_ = 64;
    std::size_t size_ = 0;
};

}  // namespace headless::detail
