#include "headless/TextTable.h"

#include <cstring>
#include <new>

namespace headless::detail {

namespace {

// A 64-bit finalizer (splitmix64): every input bit reaches every output bit.
uint64_t Mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

}  // namespace

uint64_t TextTable::Hash(std::string_view text) {
    // Eight bytes at a time: keys are short (a position text is about a dozen).
    uint64_t hash = Mix(text.size() + 0x9E3779B97F4A7C15ull);
    const char* p = text.data();
    std::size_t n = text.size();
    for (; n >= 8; p += 8, n -= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        hash = Mix(hash ^ word);
    }
    if (n != 0) {
        uint64_t word = 0;
        std::memcpy(&word, p, n);
        hash = Mix(hash ^ word);
    }
    return hash;
}

std::size_t TextTable::Probe(std::string_view text, uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.numberPlusOne == 0) return i;
        if (slot.hash == hash && Text(slot.numberPlusOne - 1) == text) return i;
    }
}

uint32_t TextTable::Find(std::string_view text) const {
    if (slots_.empty()) return kNone;
    const Slot& slot = slots_[Probe(text, Hash(text))];
    return slot.numberPlusOne == 0 ? kNone : slot.numberPlusOne - 1;
}

uint32_t TextTable::Intern(std::string_view text) {
    if ((spans_.size() + 1) * 4 > slots_.size() * 3) Grow();
    const uint64_t hash = Hash(text);
    Slot& slot = slots_[Probe(text, hash)];
    if (slot.numberPlusOne != 0) return slot.numberPlusOne - 1;
    if (spans_.size() >= kNone - 1) throw std::bad_alloc();
    spans_.push_back(Span{texts_.size(), text.size()});
    try {
        texts_.append(text);
    } catch (...) {
        spans_.pop_back();
        throw;
    }
    slot = Slot{hash, static_cast<uint32_t>(spans_.size())};
    return slot.numberPlusOne - 1;
}

void TextTable::Grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.numberPlusOne == 0) continue;
        std::size_t i = static_cast<std::size_t>(slot.hash) & mask;
        while (slots_[i].numberPlusOne != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

}  // namespace headless::detail
