// Generic tracking of the objects the host hands out. Each kind of object is
// a plain struct with a kKind name ("array", "string", ...); the host keeps one
// table per kind and reports every table in Holdings, so a new kind needs no
// change outside the file that uses it.
//
// Opaque references are tokens, not addresses: a token is never reused in the
// process, so a stale or invented reference is found unknown by a lookup that
// never dereferences it.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace headless::detail {

// A fresh token, unique in the process and never null.
uintptr_t NextToken();

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
template <class T>
class ObjectTable final : public ObjectTableBase {
public:
    std::string_view Kind() const override { return T::kKind; }

    int HeldByPlugin() const override {
        if constexpr (requires(const T& t) { t.HeldByPlugin(); }) {
            int held = 0;
            for (const auto& entry : objects_) held += entry.second.HeldByPlugin() ? 1 : 0;
            return held;
        } else {
            return static_cast<int>(objects_.size());
        }
    }

    // Adds object under a new token and returns it.
    uintptr_t Add(T object) {
        const uintptr_t token = NextToken();
        objects_.emplace(token, std::move(object));
        return token;
    }

    // Adds object under a key of the caller's (an address the host owns).
    void AddAt(uintptr_t key, T object) { objects_.emplace(key, std::move(object)); }

    T* Find(uintptr_t key) {
        const auto it = objects_.find(key);
        return it == objects_.end() ? nullptr : &it->second;
    }
    const T* Find(uintptr_t key) const {
        const auto it = objects_.find(key);
        return it == objects_.end() ? nullptr : &it->second;
    }

    void Erase(uintptr_t key) { objects_.erase(key); }
    int Size() const { return static_cast<int>(objects_.size()); }

private:
    std::unordered_map<uintptr_t, T> objects_;
};

// One table per kind, made on first use.
class ObjectTables {
public:
    template <class T>
    ObjectTable<T>& Get() {
        const std::type_index type(typeid(T));
        const auto it = index_.find(type);
        if (it != index_.end()) return static_cast<ObjectTable<T>&>(*tables_[it->second]);
        tables_.push_back(std::make_unique<ObjectTable<T>>());
        index_.emplace(type, tables_.size() - 1);
        return static_cast<ObjectTable<T>&>(*tables_.back());
    }

    const std::vector<std::unique_ptr<ObjectTableBase>>& All() const { return tables_; }

    ~ObjectTables() {
        // Later kinds may refer to earlier ones; go in reverse.
        while (!tables_.empty()) tables_.pop_back();
    }

private:
    std::vector<std::unique_ptr<ObjectTableBase>> tables_;
    std::unordered_map<std::type_index, std::size_t> index_;
};

}  // namespace headless::detail
