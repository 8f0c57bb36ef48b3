// The dialog manager's item suite: the state of the open dialog's items. A
// null item is ignored; an item that is not in the open dialog (a stale or
// invented reference) is recorded as a problem and changes nothing.
#include <cstdio>
#include <string>

#include "headless/Dialog.h"
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetDialog{"ADMItem.GetDialog", false};
constexpr Op kSetNotifyProc{"ADMItem.SetNotifyProc", false};
constexpr Op kDefaultNotify{"ADMItem.DefaultNotify", false};
constexpr Op kEnable{"ADMItem.Enable", false};
constexpr Op kActivate{"ADMItem.Activate", false};
constexpr Op kSelectAll{"ADMItem.SelectAll", false};
constexpr Op kSetUnits{"ADMItem.SetUnits", false};
constexpr Op kSetMinFloatValue{"ADMItem.SetMinFloatValue", false};
constexpr Op kSetMaxFloatValue{"ADMItem.SetMaxFloatValue", false};
constexpr Op kSetFloatValue{"ADMItem.SetFloatValue", false};
constexpr Op kGetFloatValue{"ADMItem.GetFloatValue", false};
constexpr Op kSetBooleanValue{"ADMItem.SetBooleanValue", false};
constexpr Op kGetBooleanValue{"ADMItem.GetBooleanValue", false};

std::string With(float value) {
    char text[32];
    std::snprintf(text, sizeof text, ", %g", static_cast<double>(value));
    return text;
}

std::string With(int32_t value) { return ", " + std::to_string(value); }

// The live item behind ref, or null: ignored when ref is null, recorded
// when it names no item of the open dialog.
LiveItem* Find(HostCore& host, const Op& op, ItemRef ref) {
    if (ref == nullptr) return nullptr;
    LiveItem* item = host.dialogs.Item(ref);
    if (item == nullptr) {
        host.problems.push_back(std::string(op.name) +
                                " was given an item that is not in the open dialog; it did "
                                "nothing");
    }
    return item;
}

template <class Body>
void OnItem(const Op& op, ItemRef ref, const std::string& extra, Body&& body) {
    InfallibleVoid(op, ItemDetail(ref) + extra, [&](HostCore& host) {
        if (LiveItem* item = Find(host, op, ref)) body(host, *item);
    });
}

template <class R, class Body>
R ItemValue(const Op& op, ItemRef ref, R fallback, Body&& body) {
    return Infallible(op, ItemDetail(ref), fallback, [&](HostCore& host) -> R {
        const LiveItem* item = Find(host, op, ref);
        return item != nullptr ? body(*item) : fallback;
    });
}

DialogRef HOSTAPI GetDialog(ItemRef item) {
    return ItemValue(kGetDialog, item, DialogRef{nullptr}, [](const LiveItem&) {
        return Current()->dialogs.open->ref;  // only the open dialog has live items
    });
}

void HOSTAPI SetNotifyProc(ItemRef item, ADMItemNotifyProc proc) {
    OnItem(kSetNotifyProc, item, proc != nullptr ? "" : ", none",
           [&](HostCore&, LiveItem& live) { live.notify = proc; });
}

void HOSTAPI DefaultNotify(ItemRef item, NotifierRef /*notifier*/) {
    OnItem(kDefaultNotify, item, "",
           [](HostCore& host, LiveItem& live) { DefaultNotification(host, live); });
}

void HOSTAPI Enable(ItemRef item, HostBool enable) {
    OnItem(kEnable, item, With(enable),
           [&](HostCore&, LiveItem& live) { live.state.enabled = enable != 0; });
}

void HOSTAPI Activate(ItemRef item, HostBool active) {
    OnItem(kActivate, item, With(active), [&](HostCore& host, LiveItem& live) {
        // One item of a dialog has the focus.
        if (active != 0)
            for (LiveItem& other : host.dialogs.open->items) other.state.active = false;
        live.state.active = active != 0;
    });
}

void HOSTAPI SelectAll(ItemRef item) {
    OnItem(kSelectAll, item, "", [](HostCore&, LiveItem& live) {
        if (live.state.kind == ControlKind::EditText) live.state.textSelected = true;
    });
}

void HOSTAPI SetUnits(ItemRef item, int32_t units) {
    OnItem(kSetUnits, item, With(units),
           [&](HostCore&, LiveItem& live) { live.state.units = units; });
}

void HOSTAPI SetMinFloatValue(ItemRef item, float value) {
    OnItem(kSetMinFloatValue, item, With(value),
           [&](HostCore&, LiveItem& live) { live.state.minimum = value; });
}

void HOSTAPI SetMaxFloatValue(ItemRef item, float value) {
    OnItem(kSetMaxFloatValue, item, With(value),
           [&](HostCore&, LiveItem& live) { live.state.maximum = value; });
}

void HOSTAPI SetFloatValue(ItemRef item, float value) {
    OnItem(kSetFloatValue, item, With(value),
           [&](HostCore&, LiveItem& live) { live.state.value = value; });
}

float HOSTAPI GetFloatValue(ItemRef item) {
    return ItemValue(kGetFloatValue, item, 0.0f,
                     [](const LiveItem& live) { return live.state.value; });
}

void HOSTAPI SetBooleanValue(ItemRef item, HostBool value) {
    OnItem(kSetBooleanValue, item, With(value),
           [&](HostCore&, LiveItem& live) { live.state.checked = value != 0; });
}

HostBool HOSTAPI GetBooleanValue(ItemRef item) {
    return ItemValue(kGetBooleanValue, item, HostBool{0},
                     [](const LiveItem& live) { return HostBool{live.state.checked ? 1 : 0}; });
}

constexpr const Op* kOps[] = {
    &kGetDialog,     &kSetNotifyProc,   &kDefaultNotify,    &kEnable,           &kActivate,
    &kSelectAll,     &kSetUnits,        &kSetMinFloatValue, &kSetMaxFloatValue, &kSetFloatValue,
    &kGetFloatValue, &kSetBooleanValue, &kGetBooleanValue};

const ADMItemSuite kTable = {&GetDialog,        &SetNotifyProc, &DefaultNotify, &Enable,
                             &Activate,         &SelectAll,     &SetUnits,      &SetMinFloatValue,
                             &SetMaxFloatValue, &SetFloatValue, &GetFloatValue, &SetBooleanValue,
                             &GetBooleanValue};

}  // namespace

const SuiteDef kADMItemSuiteDef{kADMItemSuite, kADMItemSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
