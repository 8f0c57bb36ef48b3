// The random suite: the host's sequence, from the seed the Host was made with.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kFloatRnd{"Random.FloatRnd", false};

float HOSTAPI FloatRnd() {
    return Infallible(kFloatRnd, {}, 0.0f, [](HostCore& host) {
        // The top 24 bits of the engine: exact in a float and below 1.
        return static_cast<float>(host.random() >> 8) / 16777216.0f;
    });
}

constexpr const Op* kOps[] = {&kFloatRnd};

const RandomSuite kTable = {&FloatRnd};

}  // namespace

const SuiteDef kRandomSuiteDef{kRandomSuite, kRandomSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
