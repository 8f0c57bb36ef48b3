// The fifteen suites every working handler holds while it runs.
#pragma once

#include <cstddef>

#include "hostinterface/HostInterface.h"

struct SuiteTableEntry {
    const char* name;
    int32_t version;
    const void** suite;  // the process-wide pointer the host fills
};

extern const SuiteTableEntry SuiteTable[15];

// Acquires every suite of the table in order, never stopping early.
// Returns the first failure, or 0; a suite granted without a table counts
// as a failure ('!MEM').
HostErr AcquireSuites(const BasicSuite* basic);

// Releases every held suite of the table; a pointer whose release the host
// refuses stays set. Returns the first failure, or 0.
HostErr ReleaseSuites(const BasicSuite* basic);
