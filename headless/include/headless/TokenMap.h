// A map from non-null keys to small values in one flat array (open
// addressing, linear probing, erasing by shifting back): a lookup touches one
// place in memory instead of a bucket and a node.
//
// Placement: kSpread scatters keys (tokens, addresses) over the table, so any
// set of keys probes short; kDense puts key k at slot k, for keys numbered
// 1, 2, 3, ...: neighbouring numbers are neighbours in memory, and numbers
// handed out in the order of use keep the table's hot part in the cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace headless::detail {

enum class Placement { kSpread, kDense };

template <class V, Placement P = Placement::kSpread>
class TokenMap {
public:
    std::size_t size() const { return size_; }

    // The value under key, or null. Pointers hold until the next Insert or Erase.
    V* Find(uintptr_t key) {
        if (slots_.empty() || key == 0) return nullptr;
        for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.key == key) return &slot.value;
            if (slot.key == 0) return nullptr;
        }
    }

    // Adds value under key (not null) or finds what is there; true when added.
    std::pair<V*, bool> Insert(uintptr_t key, const V& value) {
        if ((size_ + 1) * 4 > slots_.size() * 3) Grow();
        for (std::size_t i = Home(key);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.key == key) return {&slot.value, false};
            if (slot.key == 0) {
                slot.key = key;
                slot.value = value;
                ++size_;
                return {&slot.value, true};
            }
        }
    }

    // Removes key, if present. The entries after it in its run move back, so
    // no lookup ever passes a hole.
    void Erase(uintptr_t key) {
        if (slots_.empty() || key == 0) return;
        std::size_t hole = Home(key);
        while (slots_[hole].key != key) {
            if (slots_[hole].key == 0) return;
            hole = (hole + 1) & mask_;
        }
        for (std::size_t next = (hole + 1) & mask_; slots_[next].key != 0;
             next = (next + 1) & mask_) {
            // An entry may fill the hole unless its home lies after the hole,
            // up to where it sits.
            const std::size_t home = Home(slots_[next].key);
            const bool staysPut =
                hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
            if (staysPut) continue;
            slots_[hole] = std::move(slots_[next]);
            hole = next;
        }
        slots_[hole] = Slot{};
        --size_;
    }

    template <class F>
    void ForEach(F&& f) const {
        for (const Slot& slot : slots_)
            if (slot.key != 0) f(slot.key, slot.value);
    }

private:
    struct Slot {
        uintptr_t key = 0;  // 0: empty
        V value{};
    };

    std::size_t Home(uintptr_t key) const {
        if constexpr (P == Placement::kDense) {
            return static_cast<std::size_t>(key) & mask_;
        } else {
            // Tokens and addresses step by 16: drop those bits, then spread the
            // rest (Fibonacci hashing takes the top bits of the product).
            const uint64_t spread = (static_cast<uint64_t>(key) >> 4) * 0x9E3779B97F4A7C15ull;
            return static_cast<std::size_t>(spread >> shift_) & mask_;
        }
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
            if (slot.key != 0) Insert(slot.key, slot.value);
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    unsigned shift_ = 64;
    std::size_t size_ = 0;
};

}  // namespace headless::detail
