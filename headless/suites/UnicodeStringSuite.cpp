// The Unicode string suite. Interim: present so that it can be acquired; its
// operations answer kNotImplementedErr (Length 0, Destroy nothing) until the
// string host lands. Strings will be tracked as kind "string".
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kInitialize{"UnicodeString.Initialize", true};
constexpr Op kInitializeCopy{"UnicodeString.InitializeCopy", true};
constexpr Op kDestroy{"UnicodeString.Destroy", false};
constexpr Op kAssign{"UnicodeString.Assign", true};
constexpr Op kLength{"UnicodeString.Length", false};
constexpr Op kErase{"UnicodeString.Erase", true};
constexpr Op kGetAs{"UnicodeString.GetAs", true};

HostErr HOSTAPI Initialize(UniStringRef*, const char*, uint32_t, int32_t) {
    return NotImplemented(kInitialize);
}

HostErr HOSTAPI InitializeCopy(UniStringRef*, const UniStringRef*) {
    return NotImplemented(kInitializeCopy);
}

void HOSTAPI Destroy(UniStringRef*) { NotImplementedVoid(kDestroy); }

HostErr HOSTAPI Assign(UniStringRef*, const UniStringRef*) { return NotImplemented(kAssign); }

uint32_t HOSTAPI Length(const UniStringRef*) { return NotImplementedValue(kLength, uint32_t{0}); }

HostErr HOSTAPI Erase(UniStringRef*, uint32_t, uint32_t) { return NotImplemented(kErase); }

HostErr HOSTAPI GetAs(const UniStringRef*, int32_t, HostByteBuffer*, uint32_t*) {
    return NotImplemented(kGetAs);
}

constexpr const Op* kOps[] = {&kInitialize, &kInitializeCopy, &kDestroy, &kAssign,
                              &kLength,     &kErase,          &kGetAs};

const UnicodeStringSuite kTable = {&Initialize, &InitializeCopy, &Destroy, &Assign,
                                   &Length,     &Erase,          &GetAs};

}  // namespace

const SuiteDef kUnicodeStringSuiteDef{kUnicodeStringSuite, kUnicodeStringSuiteVersion, &kTable,
                                      kOps};

}  // namespace headless::detail
