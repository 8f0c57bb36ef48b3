// The basic suite: suites by name and version, and plain memory blocks.
#include <cstring>

#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAcquireSuite{"Basic.AcquireSuite", true};
constexpr Op kReleaseSuite{"Basic.ReleaseSuite", true};
constexpr Op kAllocateBlock{"Basic.AllocateBlock", true};
constexpr Op kFreeBlock{"Basic.FreeBlock", true};

HostErr HOSTAPI AcquireSuite(const char* name, int32_t version, const void** suite) {
    return Fallible(kAcquireSuite, Text(name), [&](HostCore& host) -> HostErr {
        if (name == nullptr || suite == nullptr) return kBadParameterErr;
        const SuiteDef* def = FindSuite(name);
        if (def == nullptr) return kUnknownSuiteErr;
        if (def->version != version) return kSuiteVersionErr;
        const auto refused = host.faults.refuseAcquire.find(name);
        if (refused != host.faults.refuseAcquire.end()) return refused->second;
        if (host.faults.nullTable.count(name) != 0) {
            *suite = nullptr;  // granted, but nothing handed out and nothing to give back
            return kNoErr;
        }
        ++host.suitesHeld[name];
        *suite = def->table;
        return kNoErr;
    });
}

HostErr HOSTAPI ReleaseSuite(const char* name, int32_t version) {
    return Fallible(kReleaseSuite, Text(name), [&](HostCore& host) -> HostErr {
        if (name == nullptr) return kBadParameterErr;
        const SuiteDef* def = FindSuite(name);
        if (def == nullptr) return kUnknownSuiteErr;
        if (def->version != version) return kSuiteVersionErr;
        const auto refused = host.faults.refuseRelease.find(name);
        if (refused != host.faults.refuseRelease.end()) return refused->second;
        const auto held = host.suitesHeld.find(name);
        if (held == host.suitesHeld.end() || held->second <= 0) return kSuiteNotHeldErr;
        if (--held->second == 0) host.suitesHeld.erase(held);
        return kNoErr;
    });
}

HostErr HOSTAPI AllocateBlock(int32_t size, void** block) {
    return Fallible(kAllocateBlock, {},
                    [&](HostCore& host) { return host.AllocateBlock(size, block); });
}

HostErr HOSTAPI FreeBlock(void* block) {
    return Fallible(kFreeBlock, {}, [&](HostCore& host) { return host.FreeBlock(block); });
}

constexpr const Op* kOps[] = {&kAcquireSuite, &kReleaseSuite, &kAllocateBlock, &kFreeBlock};

const BasicSuite kTable = {&AcquireSuite, &ReleaseSuite, &AllocateBlock, &FreeBlock};

}  // namespace

const SuiteDef kBasicSuiteDef{"SP Basic Suite", 0, &kTable, kOps};

}  // namespace headless::detail
