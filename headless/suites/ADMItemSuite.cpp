// The dialog manager's item suite. Interim: present so that it can be
// acquired; every operation is logged and does nothing (values read back as
// 0 or null) until the dialog host lands.
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

DialogRef HOSTAPI GetDialog(ItemRef) { return NotImplementedValue(kGetDialog, DialogRef{nullptr}); }
void HOSTAPI SetNotifyProc(ItemRef, ADMItemNotifyProc) { NotImplementedVoid(kSetNotifyProc); }
void HOSTAPI DefaultNotify(ItemRef, NotifierRef) { NotImplementedVoid(kDefaultNotify); }
void HOSTAPI Enable(ItemRef, HostBool) { NotImplementedVoid(kEnable); }
void HOSTAPI Activate(ItemRef, HostBool) { NotImplementedVoid(kActivate); }
void HOSTAPI SelectAll(ItemRef) { NotImplementedVoid(kSelectAll); }
void HOSTAPI SetUnits(ItemRef, int32_t) { NotImplementedVoid(kSetUnits); }
void HOSTAPI SetMinFloatValue(ItemRef, float) { NotImplementedVoid(kSetMinFloatValue); }
void HOSTAPI SetMaxFloatValue(ItemRef, float) { NotImplementedVoid(kSetMaxFloatValue); }
void HOSTAPI SetFloatValue(ItemRef, float) { NotImplementedVoid(kSetFloatValue); }
float HOSTAPI GetFloatValue(ItemRef) { return NotImplementedValue(kGetFloatValue, 0.0f); }
void HOSTAPI SetBooleanValue(ItemRef, HostBool) { NotImplementedVoid(kSetBooleanValue); }
HostBool HOSTAPI GetBooleanValue(ItemRef) {
    return NotImplementedValue(kGetBooleanValue, HostBool{0});
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
