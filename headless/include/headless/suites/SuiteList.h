// The suites the host serves, one line each. A suite's file defines
// k<Name>SuiteDef; adding a suite is that file and one line here.
#pragma once

#include "headless/SuiteRegistry.h"

#define HEADLESS_ACQUIRABLE_SUITES(X) \
    X(Filter)                         \
    X(Blocks)                         \
    X(Array)                          \
    X(Art)                            \
    X(Path)                           \
    X(Random)                         \
    X(MatchingArt)                    \
    X(Menu)                           \
    X(UnicodeString)                  \
    X(PathStyle)                      \
    X(ADMBasic)                       \
    X(ADMDialog)                      \
    X(ADMItem)                        \
    X(MdMemory)                       \
    X(Dictionary)

namespace headless::detail {

#define HEADLESS_DECLARE_SUITE(Name) extern const SuiteDef k##Name##SuiteDef;
HEADLESS_ACQUIRABLE_SUITES(HEADLESS_DECLARE_SUITE)
HEADLESS_DECLARE_SUITE(Basic)
#undef HEADLESS_DECLARE_SUITE

}  // namespace headless::detail
