// Generic tracking of the objects the host hands out. Each kind of object is
// a plain struct with a kKind name ("array", "string", ...); the host keeps one
// table per kind and reports every table in Holdings, so a new kind needs no
// change outside the file that uses it.
//
// Opaque references are tokens, not addresses: a token is never reused in the
// process, so a stale or invented reference is found unknown by a lookup that
// never dereferences it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "headless/TokenMap.h"
#include "headless/TokenRuns.h"

namespace headless::detail {

// A fresh token, unique in the process and never null.
uintptr_t NextToken();
// The first of count fresh tokens in a row, 16 apart.
uintptr_t NextTokens(std::size_t count);
inline constexpr uintptr_t kTokenStep = 0x10;

template <class Ref>
Ref ToRef(uintptr_t token) {
    return reinterpret_cast<Ref>(token);
}

template <class Ref>
uintptr_t FromRef(Ref ref) {
    return reinterpret_cast<uintptr_t>(ref);
}

class ObjectTableBase {
public:
    virtual ~ObjectTableBase() = default;
    virtual std::string_view Kind() const = 0;
    // Live objects the plug-in is answerable for (not those the host or a
    // containing object owns).
    virtual int HeldByPlugin() const = 0;
};

// Objects of one kind, by key. A kind may define `bool HeldByPlugin() const`;
// without it every live object counts as the plug-in's.
//
// The objects live in pooled memory (no heap allocation of their own) and
// never move while alive. Those the table names itself (Add) are numbered in
// the order made, with tokens from runs (TokenRuns): finding one is
// arithmetic and a slot in a chunk, and objects made one after another sit
// side by side, so a million of them cost no lookup that misses the cache.
// Those under the caller's keys (AddAt: addresses) are found through one flat
// table. The last one found is found again without looking: the plug-in
// mostly works on one object for a few calls in a row.
template <class T>
class ObjectTable final : public ObjectTableBase {
public:
    ObjectTable() = default;
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;
    ~ObjectTable() override {
        ForEach([this](T* object) { Destroy(object); });
    }

    std::string_view Kind() const override { return T::kKind; }

    int HeldByPlugin() const override {
        int held = 0;
        ForEach([&held](const T* object) {
            if constexpr (requires(const T& t) { t.HeldByPlugin(); }) {
                held += object->HeldByPlugin() ? 1 : 0;
            } else {
                ++held;
            }
        });
        return held;
    }

    // Adds object under a new token and returns it.
    uintptr_t Add(T object) {
        if (made_ == TokenRuns::kNone - 1) throw std::bad_alloc();  // numbers run out
        const uint32_t number = made_;
        const uintptr_t token = tokens_.Token(number);
        const std::size_t chunk = number / kChunk;
        if (chunk >= chunks_.size()) chunks_.resize(chunk + 1);
        if (!chunks_[chunk]) chunks_[chunk] = std::make_unique<Chunk>();
        T* made = Make(std::move(object));
        chunks_[chunk]->slots[number % kChunk] = made;
        ++chunks_[chunk]->live;
        ++made_;
        ++numbered_;
        lastKey_ = token;  // a new object is worked on next
        last_ = made;
        return token;
    }

    // Adds object under a key of the caller's (an address the host owns); a
    // key already present keeps its object.
    void AddAt(uintptr_t key, T object) {
        T* made = Make(std::move(object));
        try {
            if (!byAddress_.Insert(key, made).second) Destroy(made);
        } catch (...) {
            Destroy(made);
            throw;
        }
    }

    // Tells the table where the object under key is, when the caller already
    // knows (a container that holds it); the next Find of key needs no lookup.
    void Remember(uintptr_t key, T* object) {
        lastKey_ = key;
        last_ = object;
    }

    T* Find(uintptr_t key) {
        if (key == lastKey_ && key != 0) return last_;
        T** slot = Slot(key);
        if (slot == nullptr || *slot == nullptr) return nullptr;
        lastKey_ = key;
        last_ = *slot;
        return last_;
    }
    const T* Find(uintptr_t key) const { return const_cast<ObjectTable*>(this)->Find(key); }

    void Erase(uintptr_t key) {
        const uint32_t number = tokens_.Number(key);
        T** slot = number == TokenRuns::kNone ? byAddress_.Find(key) : NumberedSlot(number);
        if (slot == nullptr || *slot == nullptr) return;
        if (key == lastKey_) lastKey_ = 0;
        Destroy(*slot);
        if (number == TokenRuns::kNone) {
            byAddress_.Erase(key);
            return;
        }
        *slot = nullptr;
        --numbered_;
        // An emptied chunk goes, unless new objects still come into it.
        const std::size_t chunk = number / kChunk;
        if (--chunks_[chunk]->live == 0 && chunk + 1 < chunks_.size()) chunks_[chunk].reset();
    }
    int Size() const { return static_cast<int>(numbered_ + byAddress_.size()); }

private:
    static constexpr uint32_t kChunk = 512;
    struct Chunk {
        std::array<T*, kChunk> slots{};
        uint32_t live = 0;
    };

    // Where the object under key is kept, or null when no place is.
    T** Slot(uintptr_t key) {
        const uint32_t number = tokens_.Number(key);
        return number == TokenRuns::kNone ? byAddress_.Find(key) : NumberedSlot(number);
    }
    T** NumberedSlot(uint32_t number) {
        if (number >= made_ || !chunks_[number / kChunk]) return nullptr;
        return &chunks_[number / kChunk]->slots[number % kChunk];
    }

    template <class F>
    void ForEach(F&& f) const {
        for (const std::unique_ptr<Chunk>& chunk : chunks_)
            if (chunk)
                for (T* object : chunk->slots)
                    if (object != nullptr) f(object);
        byAddress_.ForEach([&f](uintptr_t, T* object) { f(object); });
    }

    T* Make(T&& object) { return new (pool_.allocate(sizeof(T), alignof(T))) T(std::move(object)); }
    void Destroy(T* object) {
        object->~T();
        pool_.deallocate(object, sizeof(T), alignof(T));
    }

    std::pmr::unsynchronized_pool_resource pool_;  // first: it holds the objects' memory
    TokenRuns tokens_;
    std::vector<std::unique_ptr<Chunk>> chunks_;  // by number / kChunk; null once emptied
    uint32_t made_ = 0;                           // numbers handed out
    std::size_t numbered_ = 0;                    // of them alive
    TokenMap<T*> byAddress_;
    uintptr_t lastKey_ = 0;  // 0: none; keys are never null
    T* last_ = nullptr;
};

// A dense number for each kind, so that a host reaches its table by index.
std::size_t NextKindIndex();
template <class T>
inline const std::size_t kKindIndex = NextKindIndex();

// One table per kind, made on first use.
class ObjectTables {
public:
    template <class T>
    ObjectTable<T>& Get() {
        const std::size_t index = kKindIndex<T>;
        if (index < byKind_.size() && byKind_[index] != nullptr) [[likely]]
            return static_cast<ObjectTable<T>&>(*byKind_[index]);
        return Make<T>(index);
    }

    // In the order first used.
    const std::vector<std::unique_ptr<ObjectTableBase>>& All() const { return tables_; }

    ~ObjectTables() {
        // Later kinds may refer to earlier ones; go in reverse.
        while (!tables_.empty()) tables_.pop_back();
    }

private:
    template <class T>
    [[gnu::noinline]] ObjectTable<T>& Make(std::size_t index) {
        if (index >= byKind_.size()) byKind_.resize(index + 1, nullptr);
        tables_.push_back(std::make_unique<ObjectTable<T>>());
        byKind_[index] = tables_.back().get();
        return static_cast<ObjectTable<T>&>(*byKind_[index]);
    }

    std::vector<std::unique_ptr<ObjectTableBase>> tables_;  // in the order first used
    std::vector<ObjectTableBase*> byKind_;                  // by kKindIndex, null if unused
};

}  // namespace headless::detail
