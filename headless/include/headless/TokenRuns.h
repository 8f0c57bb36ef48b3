// Tokens for things numbered 0, 1, 2, ... (dictionary keys, the document's
// art). They are reserved in runs of tokens in a row, each run as long as all
// before it, so a token's number follows from the token by arithmetic: no
// table to look in, and a token this host never made is found unknown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace headless::detail {

class TokenRuns {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    // The token of number, reserving runs up to it; throws std::bad_alloc.
    uintptr_t Token(uint32_t number);
    // The number of token, or kNone when no run holds it.
    uint32_t Number(uintptr_t token) const;

private:
    static constexpr uint32_t kFirstRun = 64;
    struct Run {
        uintptr_t first;       // the token of firstNumber
        uint32_t firstNumber;  // the runs cover the numbers from 0 in a row
        uint32_t count;
    };

    std::vector<Run> runs_;
    uint32_t covered_ = 0;  // numbers the runs cover
};

}  // namespace headless::detail
