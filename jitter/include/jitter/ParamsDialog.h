// The procedures of the parameters dialog. The host calls them only while
// HandleFilterParameters runs the dialog, with every suite held.
#pragma once

#include "hostinterface/HostInterface.h"

// Fills the dialog's items from the record in the dialog's user data (the
// parameters handle). Always 0.
HostErr HOSTAPI InitParamsDialog(DialogRef dialog);
// The check box: enables the two gray fields when it is ticked.
void HOSTAPI OnFillToggle(ItemRef item, NotifierRef notifier);
// OK: the host's own handling, then the fields into the record, the gray
// range in order.
void HOSTAPI OnOkClicked(ItemRef item, NotifierRef notifier);
