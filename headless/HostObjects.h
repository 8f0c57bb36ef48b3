// The host objects behind the dictionary and array suites.
//
// Reference rule of this host: an array belongs to its creator until it is
// stored in a dictionary; from then on it belongs to the dictionary, goes when
// the dictionary is released, and goes when another array replaces it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace headless::detail {

struct ArrayEntry {
    bool isReal = false;  // inserted entries have no kind until they are set
    float real = 0.0f;
};

struct ArrayObject {
    static constexpr const char* kKind = "array";
    std::vector<ArrayEntry> entries;
    uintptr_t owner = 0;  // the dictionary that owns it, or 0: its creator's

    bool HeldByPlugin() const { return owner == 0; }
};

struct DictionaryObject {
    static constexpr const char* kKind = "dictionary";
    std::map<uintptr_t, uintptr_t> arrays;  // key token -> array token, owned
};

// Interned dictionary keys; the host's for its whole life.
class KeyTable {
public:
    // The key for text, made on first use.
    uintptr_t Intern(const std::string& text);
    bool Known(uintptr_t key) const { return text_.count(key) != 0; }
    int Count() const { return static_cast<int>(text_.size()); }

private:
    std::unordered_map<std::string, uintptr_t> byText_;
    std::unordered_map<uintptr_t, std::string> text_;
};

}  // namespace headless::detail
