// The handlers PluginMain dispatches to.
#pragma once

#include "plugin/HostInterface.h"

HostErr HandleStartup(MessageData* message);
void HandleShutdown(MessageData* message);
HostErr HandleFilterGo(FilterMessage* message);
HostErr HandleFilterParameters(FilterMessage* message);
HostErr HandleAboutGo(MenuMessage* message);
