#include "headless/TokenRuns.h"

#include <algorithm>

#include "headless/ObjectTable.h"

namespace headless::detail {

uintptr_t TokenRuns::Token(uint32_t number) {
    if (number >= covered_) {
        const uint32_t count = std::max({kFirstRun, covered_, number + 1 - covered_});
        runs_.reserve(runs_.size() + 1);
        runs_.push_back(Run{NextTokens(count), covered_, count});
        covered_ += count;
    }
    // The newest run first: it holds more numbers than all the others.
    for (auto run = runs_.rbegin();; ++run)
        if (number >= run->firstNumber)
            return run->first + uintptr_t{number - run->firstNumber} * kTokenStep;
}

uint32_t TokenRuns::Number(uintptr_t token) const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (token < run->first) continue;
        const uintptr_t offset = token - run->first;
        if (offset % kTokenStep != 0 || offset / kTokenStep >= run->count) continue;
        return run->firstNumber + static_cast<uint32_t>(offset / kTokenStep);
    }
    return kNone;
}

}  // namespace headless::detail
