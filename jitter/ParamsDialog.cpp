// "AI Get Parameters": make sure the filter has its parameters and let the
// user edit them in the modal dialog.
#include "jitter/ParamsDialog.h"

#include <cstring>
#include <utility>

#include "jitter/FilterHandlers.h"
#include "jitter/JitterParams.h"
#include "resources/ResourceIds.h"
#include "runtime/HandlerFrame.h"
#include "runtime/PluginGlobals.h"

namespace {

// The record in the parameters handle the dialog was given as user data.
JitterParams* Record(HostHandle parameters) { return reinterpret_cast<JitterParams*>(*parameters); }

HostHandle Parameters(DialogRef dialog) {
    return static_cast<HostHandle>(sADMDialog->GetUserData(dialog));
}

void SetUpField(ItemRef item, int32_t units, float minimum, float maximum, float value) {
    sADMItem->SetUnits(item, units);
    sADMItem->SetMinFloatValue(item, minimum);
    sADMItem->SetMaxFloatValue(item, maximum);
    sADMItem->SetFloatValue(item, value);
}

}  // namespace

HostErr HOSTAPI InitParamsDialog(DialogRef dialog) {
    const JitterParams* params = Record(Parameters(dialog));
    ItemRef range = sADMDialog->GetItem(dialog, kMoveRangeItem);
    ItemRef grayMin = sADMDialog->GetItem(dialog, kGrayMinItem);
    ItemRef grayMax = sADMDialog->GetItem(dialog, kGrayMaxItem);
    ItemRef fill = sADMDialog->GetItem(dialog, kRandomFillItem);

    SetUpField(range, kADMPointUnits, 0.0f, 1000.0f, params->moveRange);
    sADMItem->Activate(range, true);
    sADMItem->SelectAll(range);

    SetUpField(grayMin, kADMPercentUnits, 0.0f, 100.0f, params->grayMin);
    sADMItem->Enable(grayMin, params->randomFill);
    SetUpField(grayMax, kADMPercentUnits, 0.0f, 100.0f, params->grayMax);
    sADMItem->Enable(grayMax, params->randomFill);

    sADMItem->SetNotifyProc(fill, OnFillToggle);
    sADMItem->SetBooleanValue(fill, params->randomFill);

    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kOKItem), OnOkClicked);
    return kNoErr;
}

void HOSTAPI OnFillToggle(ItemRef item, NotifierRef /*notifier*/) {
    DialogRef dialog = sADMItem->GetDialog(item);
    const HostBool fill = sADMItem->GetBooleanValue(sADMDialog->GetItem(dialog, kRandomFillItem));
    sADMItem->Enable(sADMDialog->GetItem(dialog, kGrayMinItem), fill);
    sADMItem->Enable(sADMDialog->GetItem(dialog, kGrayMaxItem), fill);
}

void HOSTAPI OnOkClicked(ItemRef item, NotifierRef notifier) {
    DialogRef dialog = sADMItem->GetDialog(item);
    HostHandle parameters = Parameters(dialog);
    sADMItem->DefaultNotify(item, notifier);  // the host's own handling of the click

    const float range = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, kMoveRangeItem));
    float grayMin = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, kGrayMinItem));
    float grayMax = sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, kGrayMaxItem));
    const HostBool fill = sADMItem->GetBooleanValue(sADMDialog->GetItem(dialog, kRandomFillItem));

    JitterParams* params = Record(parameters);
    params->moveRange = range;
    if (grayMax < grayMin) std::swap(grayMin, grayMax);
    params->grayMin = grayMin;
    params->grayMax = grayMax;
    params->randomFill = fill;
}

HostErr HandleFilterParameters(FilterMessage* message) {
    return RunInHandlerFrame(message->d, [message]() -> HostErr {
        if (message->parameters == nullptr) {
            if (const HostErr error =
                    sMdMemory->NewHandle(sizeof(JitterParams), &message->parameters))
                return error;
            if (message->parameters == nullptr) return kOutOfMemoryErr;
            // A handle without a block has no room for the record.
            if (*message->parameters == nullptr) return kOutOfMemoryErr;
            std::memcpy(*message->parameters, &kDefaultJitterParams, sizeof(JitterParams));
        } else if (*message->parameters == nullptr) {
            return kOutOfMemoryErr;
        }

        JitterParams saved;
        std::memcpy(&saved, *message->parameters, sizeof saved);
        const int32_t closedBy = sADMDialog->Modal(message->d.self, kPluginName, kParamsDialogId, 0,
                                                   InitParamsDialog, message->parameters, 0);
        if (closedBy != kOKItem) {
            std::memcpy(*message->parameters, &saved, sizeof saved);
            return kStopErr;
        }
        return kNoErr;
    });
}
