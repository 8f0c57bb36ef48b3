// The filter's parameters record in the host's kept handle, typed: the host
// keeps it as bytes, the tests read and write it as the plug-in does.
#pragma once

#include "headless/Host.h"
#include "jitter/JitterParams.h"

namespace testing_support {

// Gives the filter params, as a stored record from an earlier run.
void SetParameters(headless::Host& host, const JitterParams& params);
// The record the host keeps; throws std::logic_error when there is none or
// the block is not a JitterParams.
JitterParams Parameters(const headless::Host& host);

}  // namespace testing_support
