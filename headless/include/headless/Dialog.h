// The dialog manager: one modal dialog at a time, built from the plug-in's
// dialog template, its items found by id and by the host's item references,
// and the scripts of user actions the modal runs play.
#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "headless/DialogScript.h"
#include "hostinterface/HostInterface.h"

namespace headless::detail {

class HostCore;

struct LiveItem {
    DialogItemState state;
    ItemRef ref = nullptr;
    ADMItemNotifyProc notify = nullptr;
};

struct LiveDialog {
    DialogRef ref = nullptr;
    int32_t id = 0;
    ADMUserData userData = nullptr;
    std::vector<LiveItem> items;                       // template order
    std::unordered_map<uintptr_t, std::size_t> byRef;  // item token -> position
    std::optional<int32_t> closedBy;
    std::vector<std::string> log;
    std::vector<std::string> refusals;

    LiveItem* Item(int32_t itemId);
    void Note(std::string line) { log.push_back(std::move(line)); }
    void Refuse(const std::string& line);
};

class DialogManager {
public:
    std::deque<std::vector<DialogAction>> scripts;  // one per coming modal run
    std::vector<DialogRun> runs;
    std::unique_ptr<LiveDialog> open;  // the dialog of the modal run in progress

    // The open dialog when ref names it, else null.
    LiveDialog* Dialog(DialogRef ref);
    // The open dialog's item behind ref, else null.
    LiveItem* Item(ItemRef ref);
};

// ADMDialog.Modal: the id of the item that closed the dialog, 2 (Cancel)
// when it could not be shown.
int32_t RunModal(HostCore& host, PluginRef self, const char* name, int32_t dialogId,
                 ADMDialogInitProc initProc, ADMUserData userData);

// ADMItem.DefaultNotify: a button closes the dialog with its id.
void DefaultNotification(HostCore& host, LiveItem& item);

// "item 6" or "(unknown item)" for the call log.
std::string ItemDetail(ItemRef ref);

}  // namespace headless::detail
