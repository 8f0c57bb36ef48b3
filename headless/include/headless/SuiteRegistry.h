// The suites the host serves. Each suite lives in one file under suites/ and
// defines a SuiteDef named k<Name>SuiteDef; suites/SuiteList.cpp lists them.
// Adding a suite is that file plus one line in the list.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace headless::detail {

// One operation of a suite, named as in the call log ("Array.CreateArray").
// Fallible operations return a HostErr and can be made to fail on request.
struct Op {
    const char* name;
    bool fallible;
};

struct SuiteDef {
    const char* name;  // the host's name, e.g. "AI Array Suite"
    int32_t version;
    const void* table;  // the suite's table of functions
    std::span<const Op* const> ops;
};

// Every suite the plug-in can acquire, by name.
std::span<const SuiteDef* const> AcquirableSuites();
const SuiteDef* FindSuite(std::string_view name);

// The basic suite, which comes with every message instead.
const SuiteDef& BasicSuiteDef();

// The operation named "Suite.Operation", or null.
const Op* FindOp(std::string_view name);

}  // namespace headless::detail
