// The dialog manager's dialog suite. Interim: present so that it can be
// acquired; Modal runs no dialog and answers 0 (no item), until the dialog
// host lands.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kModal{"ADMDialog.Modal", false};
constexpr Op kGetUserData{"ADMDialog.GetUserData", false};
constexpr Op kGetItem{"ADMDialog.GetItem", false};

int32_t HOSTAPI Modal(PluginRef, const char*, int32_t, int32_t, ADMDialogInitProc, ADMUserData,
                      int32_t) {
    return NotImplementedValue(kModal, int32_t{0});
}

ADMUserData HOSTAPI GetUserData(DialogRef) {
    return NotImplementedValue(kGetUserData, ADMUserData{nullptr});
}

ItemRef HOSTAPI GetItem(DialogRef, int32_t) {
    return NotImplementedValue(kGetItem, ItemRef{nullptr});
}

constexpr const Op* kOps[] = {&kModal, &kGetUserData, &kGetItem};

const ADMDialogSuite kTable = {&Modal, &GetUserData, &GetItem};

}  // namespace

const SuiteDef kADMDialogSuiteDef{kADMDialogSuite, kADMDialogSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
