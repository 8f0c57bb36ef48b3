// The blocks suite: the same blocks as the basic suite's, freed by either.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAllocateBlock{"Blocks.AllocateBlock", true};
constexpr Op kFreeBlock{"Blocks.FreeBlock", true};

HostErr HOSTAPI AllocateBlock(int32_t size, void** block) {
    return Fallible(kAllocateBlock, {},
                    [&](HostCore& host) { return host.AllocateBlock(size, block); });
}

HostErr HOSTAPI FreeBlock(void* block) {
    return Fallible(kFreeBlock, {}, [&](HostCore& host) { return host.FreeBlock(block); });
}

constexpr const Op* kOps[] = {&kAllocateBlock, &kFreeBlock};

const BlocksSuite kTable = {&AllocateBlock, &FreeBlock};

}  // namespace

const SuiteDef kBlocksSuiteDef{kBlocksSuite, kBlocksSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
