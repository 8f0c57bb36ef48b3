// The dialog manager's dialog suite: the modal run of a dialog from the
// plug-in's resources (headless/Dialog.cpp), its user data and its items.
#include <string>

#include "headless/Dialog.h"
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kModal{"ADMDialog.Modal", false};
constexpr Op kGetUserData{"ADMDialog.GetUserData", false};
constexpr Op kGetItem{"ADMDialog.GetItem", false};

constexpr int32_t kCancelId = 2;

void Unknown(HostCore& host, const char* op) {
    host.problems.push_back(std::string(op) +
                            " was given a dialog that is not open; it answered null");
}

int32_t HOSTAPI Modal(PluginRef self, const char* name, int32_t dialogId, int32_t /*style*/,
                      ADMDialogInitProc initProc, ADMUserData userData, int32_t /*options*/) {
    const std::string detail = std::string(Text(name)) + ", dialog " + std::to_string(dialogId);
    return Infallible(kModal, detail, kCancelId, [&](HostCore& host) {
        return RunModal(host, self, name, dialogId, initProc, userData);
    });
}

ADMUserData HOSTAPI GetUserData(DialogRef dialog) {
    return Infallible(kGetUserData, {}, ADMUserData{nullptr}, [&](HostCore& host) {
        const LiveDialog* open = host.dialogs.Dialog(dialog);
        if (open == nullptr) {
            Unknown(host, kGetUserData.name);
            return ADMUserData{nullptr};
        }
        return open->userData;
    });
}

ItemRef HOSTAPI GetItem(DialogRef dialog, int32_t itemId) {
    return Infallible(kGetItem, "item " + std::to_string(itemId), ItemRef{nullptr},
                      [&](HostCore& host) {
                          LiveDialog* open = host.dialogs.Dialog(dialog);
                          if (open == nullptr) {
                              Unknown(host, kGetItem.name);
                              return ItemRef{nullptr};
                          }
                          const LiveItem* item = open->Item(itemId);
                          return item != nullptr ? item->ref : ItemRef{nullptr};
                      });
}

constexpr const Op* kOps[] = {&kModal, &kGetUserData, &kGetItem};

const ADMDialogSuite kTable = {&Modal, &GetUserData, &GetItem};

}  // namespace

const SuiteDef kADMDialogSuiteDef{kADMDialogSuite, kADMDialogSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
