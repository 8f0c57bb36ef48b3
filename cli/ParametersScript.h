// What the tool does in the filter's parameters dialog for a run.
#pragma once

#include <vector>

#include "headless/DialogScript.h"
#include "hostinterface/HostInterface.h"
#include "jitter/JitterParams.h"

namespace cli {

// Types the range and the two grays into their fields (while the gray fields
// are still enabled), sets the check box to the fill flag and clicks OK.
std::vector<headless::DialogAction> ParametersDialogScript(const JitterParams& params);

}  // namespace cli
