// The memory suite: handles (a pointer to the pointer to a block).
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kNewHandle{"MdMemory.NewHandle", true};
constexpr Op kDisposeHandle{"MdMemory.DisposeHandle", true};

HostErr HOSTAPI NewHandle(uint32_t size, HostHandle* handle) {
    return Fallible(kNewHandle, {}, [&](HostCore& host) -> HostErr {
        if (handle == nullptr) return kBadParameterErr;
        if (size > kMaxAllocation) return kOutOfMemoryErr;
        *handle = host.NewHandle(size, false);
        return kNoErr;
    });
}

HostErr HOSTAPI DisposeHandle(HostHandle handle) {
    return Fallible(kDisposeHandle, {}, [&](HostCore& host) -> HostErr {
        const Handle* object = host.FindHandle(handle);
        if (object == nullptr) return kBadHandleErr;
        // The host's own handles (the filter's parameters) are the host's to free.
        if (object->hostOwned) return kNotOwnerErr;
        host.DisposeHandle(handle);
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kNewHandle, &kDisposeHandle};

const MdMemorySuite kTable = {&NewHandle, &DisposeHandle};

}  // namespace

const SuiteDef kMdMemorySuiteDef{kMdMemorySuite, kMdMemorySuiteVersion, &kTable, kOps};

}  // namespace headless::detail
