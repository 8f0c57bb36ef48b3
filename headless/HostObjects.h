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
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "headless/CallLog.h"
#include "headless/TokenMap.h"

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

    // The entry under key, or null; it holds until the next Store. The last
    // key found is found again without looking (asking IsKnown, then
    // GetArrayEntry, is the common pair).
    Entry* Lookup(uintptr_t key) {
        if (key == lastKey_ && key != 0) return lastEntry_;
        Entry* entry = arrays_.Find(key);
        if (entry == nullptr) return nullptr;
        lastKey_ = key;
        lastEntry_ = entry;
        return entry;
    }

    // Stores entry under key; returns the entry it replaced, if any.
    std::optional<Entry> Store(uintptr_t key, const Entry& entry) {
        lastKey_ = 0;  // the table may move
        const auto [slot, added] = arrays_.Insert(key, entry);
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
    // By key token, in one flat table: one dictionary may hold a million offsets.
    TokenMap<Entry> arrays_;
    uintptr_t lastKey_ = 0;
    Entry* lastEntry_ = nullptr;
};

// Interned dictionary keys; the host's for its whole life.
class KeyTable {
public:
    // The key for text, made on first use: one hash lookup for a known text.
    uintptr_t Intern(std::string_view text);
    bool Known(uintptr_t key) const { return known_.count(key) != 0; }
    int Count() const { return static_cast<int>(known_.size()); }

private:
    // Nodes from a pool: a run may intern a key for each of a million anchors.
    std::unique_ptr<std::pmr::unsynchronized_pool_resource> pool_ =
        std::make_unique<std::pmr::unsynchronized_pool_resource>();
    std::pmr::unordered_map<std::string, uintptr_t, TextHash, std::equal_to<>> byText_{pool_.get()};
    std::pmr::unordered_set<uintptr_t> known_{pool_.get()};
};

}  // namespace headless::detail
