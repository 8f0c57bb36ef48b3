// The array suite: arrays of reals, owned by their creator until stored in a
// dictionary (HostObjects.h has the rule).
#include <cstddef>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kCreateArray{"Array.CreateArray", true};
constexpr Op kRelease{"Array.Release", true};
constexpr Op kInsertEntry{"Array.InsertEntry", true};
constexpr Op kGetRealEntry{"Array.GetRealEntry", true};
constexpr Op kSetRealEntry{"Array.SetRealEntry", true};

ArrayObject* Find(HostCore& host, ArrayRef array) {
    return host.Objects<ArrayObject>().Find(FromRef(array));
}

bool InRange(const ArrayObject& array, int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < array.entries.size();
}

HostErr HOSTAPI CreateArray(ArrayRef* array) {
    return Fallible(kCreateArray, {}, [&](HostCore& host) -> HostErr {
        if (array == nullptr) return kBadParameterErr;
        *array = ToRef<ArrayRef>(host.Objects<ArrayObject>().Add(ArrayObject{}));
        return kNoErr;
    });
}

HostErr HOSTAPI Release(ArrayRef array) {
    return Fallible(kRelease, {}, [&](HostCore& host) -> HostErr {
        const ArrayObject* object = Find(host, array);
        if (object == nullptr) return kBadArrayErr;
        if (object->owner != 0) return kNotOwnerErr;  // the dictionary's, not the caller's
        host.Objects<ArrayObject>().Erase(FromRef(array));
        return kNoErr;
    });
}

HostErr HOSTAPI InsertEntry(ArrayRef array, int32_t position) {
    return Fallible(kInsertEntry, {}, [&](HostCore& host) -> HostErr {
        ArrayObject* object = Find(host, array);
        if (object == nullptr) return kBadArrayErr;
        if (position < 0 || static_cast<std::size_t>(position) > object->entries.size())
            return kRangeErr;
        object->entries.insert(static_cast<std::size_t>(position), ArrayEntry{});
        return kNoErr;
    });
}

HostErr HOSTAPI GetRealEntry(ArrayRef array, int32_t index, float* value) {
    return Fallible(kGetRealEntry, {}, [&](HostCore& host) -> HostErr {
        const ArrayObject* object = Find(host, array);
        if (object == nullptr) return kBadArrayErr;
        if (value == nullptr) return kBadParameterErr;
        if (!InRange(*object, index)) return kRangeErr;
        const ArrayEntry& entry = object->entries[static_cast<std::size_t>(index)];
        if (!entry.isReal) return kWrongKindErr;
        *value = entry.real;
        return kNoErr;
    });
}

HostErr HOSTAPI SetRealEntry(ArrayRef array, int32_t index, float value) {
    return Fallible(kSetRealEntry, {}, [&](HostCore& host) -> HostErr {
        ArrayObject* object = Find(host, array);
        if (object == nullptr) return kBadArrayErr;
        if (!InRange(*object, index)) return kRangeErr;
        object->entries[static_cast<std::size_t>(index)] = ArrayEntry{true, value};
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kCreateArray, &kRelease, &kInsertEntry, &kGetRealEntry,
                              &kSetRealEntry};

const ArraySuite kTable = {&CreateArray, &Release, &InsertEntry, &GetRealEntry, &SetRealEntry};

}  // namespace

const SuiteDef kArraySuiteDef{kArraySuite, kArraySuiteVersion, &kTable, kOps};

}  // namespace headless::detail
