// The filter's two messages, which PluginMain dispatches to.
#pragma once

#include "hostinterface/HostInterface.h"

// "AI Get Parameters": makes the record when the handle is empty and runs the
// parameters dialog on it; 'STOP' on cancel, with the record restored.
HostErr HandleFilterParameters(FilterMessage* message);
// "AI Go": moves the anchors of the selected paths, recolours filled paths.
HostErr HandleFilterGo(FilterMessage* message);
