// Start-up and shut-down, which PluginMain dispatches to.
#pragma once

#include "hostinterface/HostInterface.h"

HostErr HandleStartup(MessageData* message);
void HandleShutdown(MessageData* message);
