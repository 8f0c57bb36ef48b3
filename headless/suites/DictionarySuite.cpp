// The dictionary suite: arrays stored under interned keys. A dictionary owns
// the arrays stored in it and releases them with itself.
#include <cstdint>
#include <string_view>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kCreateDictionary{"Dictionary.CreateDictionary", true};
constexpr Op kRelease{"Dictionary.Release", true};
constexpr Op kKey{"Dictionary.Key", false};
constexpr Op kIsKnown{"Dictionary.IsKnown", false};
constexpr Op kGetArrayEntry{"Dictionary.GetArrayEntry", true};
constexpr Op kSetArrayEntry{"Dictionary.SetArrayEntry", true};

DictionaryObject* Find(HostCore& host, DictionaryRef dict) {
    return host.Objects<DictionaryObject>().Find(FromRef(dict));
}

HostErr HOSTAPI CreateDictionary(DictionaryRef* dict) {
    return Fallible(kCreateDictionary, {}, [&](HostCore& host) -> HostErr {
        if (dict == nullptr) return kBadParameterErr;
        *dict = ToRef<DictionaryRef>(host.Objects<DictionaryObject>().Add(DictionaryObject{}));
        return kNoErr;
    });
}

HostErr HOSTAPI Release(DictionaryRef dict) {
    return Fallible(kRelease, {}, [&](HostCore& host) -> HostErr {
        DictionaryObject* object = Find(host, dict);
        if (object == nullptr) return kBadDictionaryErr;
        auto& arrays = host.Objects<ArrayObject>();
        object->ForEachArray([&arrays](uintptr_t array) { arrays.Erase(array); });
        host.Objects<DictionaryObject>().Erase(FromRef(dict));
        return kNoErr;
    });
}

DictKey HOSTAPI Key(const char* name) {
    const std::string_view text = Text(name);
    return Infallible(kKey, text, DictKey{nullptr}, [&](HostCore& host) {
        if (name == nullptr) return DictKey{nullptr};
        return ToRef<DictKey>(host.keys.Intern(text));
    });
}

HostBool HOSTAPI IsKnown(DictionaryRef dict, DictKey key) {
    return Infallible(kIsKnown, {}, HostBool{0}, [&](HostCore& host) -> HostBool {
        DictionaryObject* object = Find(host, dict);
        const uint32_t number = host.keys.Number(FromRef(key));
        if (object == nullptr || number == KeyTable::kNoKey) return 0;
        return object->Lookup(number) != nullptr ? 1 : 0;
    });
}

HostErr HOSTAPI GetArrayEntry(DictionaryRef dict, DictKey key, ArrayRef* array) {
    return Fallible(kGetArrayEntry, {}, [&](HostCore& host) -> HostErr {
        DictionaryObject* object = Find(host, dict);
        if (object == nullptr) return kBadDictionaryErr;
        const uint32_t number = host.keys.Number(FromRef(key));
        if (number == KeyTable::kNoKey) return kBadKeyErr;
        const DictionaryObject::Entry* entry = object->Lookup(number);
        if (entry == nullptr) return array == nullptr ? kBadParameterErr : kNoEntryErr;
        if (array == nullptr) return kBadParameterErr;
        *array = ToRef<ArrayRef>(entry->token);  // stays the dictionary's
        // Its entries are read next: the array table need not hash for them.
        host.Objects<ArrayObject>().Remember(entry->token, entry->array);
        return kNoErr;
    });
}

HostErr HOSTAPI SetArrayEntry(DictionaryRef dict, DictKey key, ArrayRef array) {
    return Fallible(kSetArrayEntry, {}, [&](HostCore& host) -> HostErr {
        DictionaryObject* object = Find(host, dict);
        if (object == nullptr) return kBadDictionaryErr;
        const uint32_t number = host.keys.Number(FromRef(key));
        if (number == KeyTable::kNoKey) return kBadKeyErr;
        auto& arrays = host.Objects<ArrayObject>();
        ArrayObject* stored = arrays.Find(FromRef(array));
        if (stored == nullptr) return kBadArrayErr;
        // Only the caller's own array can be handed over, so no array ever has
        // two owners (nor replaces itself).
        if (stored->owner != 0) return kNotOwnerErr;

        const auto replaced = object->Store(number, {FromRef(array), stored});
        if (replaced) arrays.Erase(replaced->token);  // the replaced array goes with its entry
        stored->owner = FromRef(dict);
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kCreateDictionary, &kRelease,       &kKey,
                              &kIsKnown,          &kGetArrayEntry, &kSetArrayEntry};

const DictionarySuite kTable = {&CreateDictionary, &Release,       &Key,
                                &IsKnown,          &GetArrayEntry, &SetArrayEntry};

}  // namespace

const SuiteDef kDictionarySuiteDef{kDictionarySuite, kDictionarySuiteVersion, &kTable, kOps};

}  // namespace headless::detail
