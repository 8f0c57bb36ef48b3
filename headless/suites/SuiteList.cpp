#include "headless/suites/SuiteList.h"

#include <cstring>

namespace headless::detail {

namespace {

#define HEADLESS_LIST_SUITE(Name) &k##Name##SuiteDef,
const SuiteDef* const kSuites[] = {HEADLESS_ACQUIRABLE_SUITES(HEADLESS_LIST_SUITE)};
#undef HEADLESS_LIST_SUITE

}  // namespace

std::span<const SuiteDef* const> AcquirableSuites() { return kSuites; }

const SuiteDef* FindSuite(std::string_view name) {
    for (const SuiteDef* suite : kSuites)
        if (name == suite->name) return suite;
    return nullptr;
}

const SuiteDef& BasicSuiteDef() { return kBasicSuiteDef; }

const Op* FindOp(std::string_view name) {
    for (const Op* op : kBasicSuiteDef.ops)
        if (name == op->name) return op;
    for (const SuiteDef* suite : kSuites)
        for (const Op* op : suite->ops)
            if (name == op->name) return op;
    return nullptr;
}

}  // namespace headless::detail
