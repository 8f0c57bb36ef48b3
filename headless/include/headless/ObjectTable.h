// Generic tracking of the objects the host hands out. Each kind of object is
// a plain struct with a kKind name ("array", "string", ...); the host keeps one
// table per kind and reports every table in Holdings, so a new kind needs no
// change outside the file that uses it.
//
// Opaque references are tokens, not addresses: a token is never reused in the
// process, so a stale or invented reference is found unknown by a lookup that
// never dereferences it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "headless/TokenMap.h"

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
// The objects live in pooled memory (no heap allocation of their own), never
// move while alive, and are found through one flat table of pointers; the
// last one found is found again without looking: the plug-in mostly works on
// one object for a few calls in a row.
template <class T>
class ObjectTable final : public ObjectTableBase {
public:
    ObjectTable() = default;
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;
    ~ObjectTable() override {
        objects_.ForEach([this](uintptr_t, T* object) { Destroy(object); });
    }

    std::string_view Kind() const override { return T::kKind; }

    int HeldByPlugin() const override {
        if constexpr (requires(const T& t) { t.HeldByPlugin(); }) {
            int held = 0;
            objects_.ForEach(
                [&held](uintptr_t, const T* object) { held += object->HeldByPlugin() ? 1 : 0; });
            return held;
        } else {
            return static_cast<int>(objects_.size());
        }
    }

    // Adds object under a new token and returns it.
    uintptr_t Add(T object) {
        const uintptr_t token = NextToken();
        last_ = Place(token, std::move(object));
        lastKey_ = token;  // a new object is worked on next
        return token;
    }

    // Adds object under a key of the caller's (an address the host owns); a
    // key already present keeps its object.
    void AddAt(uintptr_t key, T object) { Place(key, std::move(object)); }

    // Tells the table where the object under key is, when the caller already
    // knows (a container that holds it); the next Find of key needs no lookup.
    void Remember(uintptr_t key, T* object) {
        lastKey_ = key;
        last_ = object;
    }

    T* Find(uintptr_t key) {
        if (key == lastKey_ && key != 0) return last_;
        T** found = objects_.Find(key);
        if (found == nullptr) return nullptr;
        lastKey_ = key;
        last_ = *found;
        return last_;
    }
    const T* Find(uintptr_t key) const { return const_cast<ObjectTable*>(this)->Find(key); }

    void Erase(uintptr_t key) {
        T** found = objects_.Find(key);
        if (found == nullptr) return;
        if (key == lastKey_) lastKey_ = 0;
        Destroy(*found);
        objects_.Erase(key);
    }
    // Erases every object pred picks, in one pass over the table.
    template <class Pred>
    void EraseIf(Pred&& pred) {
        lastKey_ = 0;
        objects_.EraseIf([&](uintptr_t, T* object) {
            if (!pred(*object)) return false;
            Destroy(object);
            return true;
        });
    }
    int Size() const { return static_cast<int>(objects_.size()); }

private:
    T* Place(uintptr_t key, T&& object) {
        T* made = new (pool_.allocate(sizeof(T), alignof(T))) T(std::move(object));
        try {
            const auto [slot, added] = objects_.Insert(key, made);
            if (!added) {
                Destroy(made);
                return *slot;
            }
        } catch (...) {
            Destroy(made);
            throw;
        }
        return made;
    }

    void Destroy(T* object) {
        object->~T();
        pool_.deallocate(object, sizeof(T), alignof(T));
    }

    std::pmr::unsynchronized_pool_resource pool_;  // before objects_: it holds their memory
    TokenMap<T*> objects_;
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
