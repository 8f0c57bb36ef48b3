// The host objects behind the dictionary and array suites.
//
// Reference rule of this host: an array belongs to its creator until it is
// stored in a dictionary; from then on it belongs to the dictionary, goes when
// the dictionary is released, and goes when another array replaces it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "headless/TextTable.h"
#include "headless/TokenMap.h"
#include "headless/TokenRuns.h"

namespace headless::detail {

struct ArrayEntry {
    bool isReal = false;  // inserted entries have no kind until they are set
    float real = 0.0f;
};

// The entries of an array: two in place (an offset, the common case), more on
// the heap.
class ArrayEntries {
public:
    std::size_t size() const { return size_; }
    ArrayEntry& operator[](std::size_t index) { return data()[index]; }
    const ArrayEntry& operator[](std::size_t index) const { return data()[index]; }

    // Inserts an entry before position (at most size()).
    void insert(std::size_t position, ArrayEntry entry) {
        if (size_ == kInPlace && more_.empty()) more_.assign(inPlace_.begin(), inPlace_.end());
        if (!more_.empty()) {
            more_.insert(more_.begin() + static_cast<std::ptrdiff_t>(position), entry);
        } else {
            std::copy_backward(inPlace_.begin() + static_cast<std::ptrdiff_t>(position),
                               inPlace_.begin() + static_cast<std::ptrdiff_t>(size_),
                               inPlace_.begin() + static_cast<std::ptrdiff_t>(size_ + 1));
            inPlace_[position] = entry;
        }
        ++size_;
    }

private:
    static constexpr std::size_t kInPlace = 2;
    ArrayEntry* data() { return more_.empty() ? inPlace_.data() : more_.data(); }
    const ArrayEntry* data() const { return more_.empty() ? inPlace_.data() : more_.data(); }

    std::array<ArrayEntry, kInPlace> inPlace_{};
    std::vector<ArrayEntry> more_;  // all entries once there are more than kInPlace
    std::size_t size_ = 0;
};

struct ArrayObject {
    static constexpr const char* kKind = "array";
    ArrayEntries entries;
    uintptr_t owner = 0;  // the dictionary that owns it, or 0: its creator's

    bool HeldByPlugin() const { return owner == 0; }
};

struct DictionaryObject {
    static constexpr const char* kKind = "dictionary";

    // An entry: the array's token and where the array lives. The dictionary
    // owns it, so only the dictionary can make it go, and the pointer holds.
    struct Entry {
        uintptr_t token = 0;
        ArrayObject* array = nullptr;
    };

    // The entry under the key numbered key (KeyTable::Number), or null; it
    // holds until the next Store.
    Entry* Lookup(uint32_t key) { return arrays_.Find(Slot(key)); }

    // Stores entry under the key numbered key; returns the entry it replaced, if any.
    std::optional<Entry> Store(uint32_t key, const Entry& entry) {
        const auto [slot, added] = arrays_.Insert(Slot(key), entry);
        if (added) return std::nullopt;
        const Entry replaced = *slot;
        *slot = entry;
        return replaced;
    }

    template <class F>
    void ForEachArray(F&& f) const {
        arrays_.ForEach([&f](uintptr_t, const Entry& entry) { f(entry.token); });
    }

private:
    static uintptr_t Slot(uint32_t key) { return uintptr_t{key} + 1; }

    // By key number, in one flat table: one dictionary may hold a million
    // offsets, and keys made one after another sit side by side.
    TokenMap<Entry, Placement::kDense> arrays_;
};

// Dictionary keys, one for each text, the host's for its whole life. A key's
// number follows from its token by arithmetic (TokenRuns): checking a key or
// finding its entry in a dictionary needs no lookup.
class KeyTable {
public:
    static constexpr uint32_t kNoKey = UINT32_MAX;

    // The key for text, made on first use; throws std::bad_alloc.
    uintptr_t Intern(std::string_view text);
    // The key's number (0, 1, ... in the order made), or kNoKey for a token
    // that is no key of this host.
    uint32_t Number(uintptr_t key) const;
    int Count() const { return static_cast<int>(texts_.Count()); }

private:
    TextTable texts_;
    TokenRuns tokens_;  // key number = text number
};

}  // namespace headless::detail
