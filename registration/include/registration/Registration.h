// The two registrations of start-up (the About item, then the filter), and
// the About item's message.
#pragma once

#include "hostinterface/HostInterface.h"

// Adds the family's About submenu if no plug-in of the family has, and our
// item in it; stores the item in the globals block.
HostErr RegisterAboutItem(MessageData* message);

// Registers the filter under the category and title of the string list and
// lets the host enable its menu item automatically.
HostErr RegisterFilter(MessageData* message);

// "AI Menu"/"AI Go" for the About item: shows the About box.
HostErr HandleAboutGo(MenuMessage* message);
