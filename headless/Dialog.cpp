#include "headless/Dialog.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>

#include "headless/HostCore.h"
#include "winres/DialogTemplate.h"

namespace headless::detail {

namespace {

constexpr int32_t kCancelId = 2;
constexpr uint32_t kWsDisabled = 0x08000000;

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string ItemName(int32_t id) { return "item " + std::to_string(id); }

// "an edit field", "a check box".
std::string WithArticle(const std::string& noun) {
    const bool vowel = !noun.empty() && std::string("aeiou").find(noun[0]) != std::string::npos;
    return (vowel ? "an " : "a ") + noun;
}

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton;
}

LiveItem MakeItem(const DialogItem& source) {
    LiveItem item;
    item.ref = ToRef<ItemRef>(NextToken());
    DialogItemState& state = item.state;
    state.id = source.id;
    state.kind = source.Kind();
    state.text = source.Text();
    state.enabled = (source.style & kWsDisabled) == 0;
    state.minimum = -FLT_MAX;
    state.maximum = FLT_MAX;
    return item;
}

std::vector<DialogItemState> Snapshot(const LiveDialog& dialog) {
    std::vector<DialogItemState> states;
    states.reserve(dialog.items.size());
    for (const LiveItem& item : dialog.items) {
        DialogItemState state = item.state;
        state.hasNotifyProc = item.notify != nullptr;
        states.push_back(state);
    }
    return states;
}

// Delivers one notification to the item's proc, or runs the default handling.
void Notify(HostCore& host, LiveItem& item) {
    if (item.notify == nullptr) {
        DefaultNotification(host, item);
        return;
    }
    const NotifierRef notifier = ToRef<NotifierRef>(NextToken());
    item.notify(item.ref, notifier);
}

// The edit field, check box or button an action names, or null (refused).
LiveItem* Target(LiveDialog& dialog, const DialogAction& action, bool (*fits)(ControlKind),
                 const char* wanted, const char* verb) {
    LiveItem* item = dialog.Item(action.item);
    if (item == nullptr) {
        dialog.Refuse(std::string(verb) + " " + ItemName(action.item) +
                      ": the dialog has no such item");
        return nullptr;
    }
    if (!fits(item->state.kind)) {
        dialog.Refuse(std::string(verb) + " " + ItemName(action.item) + ": it is " +
                      WithArticle(ControlKindName(item->state.kind)) + ", not " + wanted);
        return nullptr;
    }
    if (!item->state.enabled) {
        dialog.Refuse(std::string(verb) + " " + ItemName(action.item) + ": the item is disabled");
        return nullptr;
    }
    return item;
}

void Type(HostCore& host, LiveDialog& dialog, const DialogAction& action) {
    LiveItem* item = Target(
        dialog, action, [](ControlKind kind) { return kind == ControlKind::EditText; },
        "an edit field", "typing into");
    if (item == nullptr) return;
    if (std::isnan(action.value)) {
        dialog.Refuse("typing into " + ItemName(action.item) + ": the text is not a number");
        return;
    }
    DialogItemState& state = item->state;
    // A dialog manager keeps a field within its range, low end first.
    float value = action.value;
    if (value < state.minimum) value = state.minimum;
    if (value > state.maximum) value = state.maximum;
    std::string line = "typed " + Number(action.value) + " into " + ItemName(action.item);
    if (value != action.value) line += ": clamped to " + Number(value);
    dialog.Note(line);
    state.value = value;
    state.textSelected = false;  // the typed text replaced the selection
    for (LiveItem& other : dialog.items) other.state.active = false;
    state.active = true;
    if (item->notify != nullptr) Notify(host, *item);
}

void Toggle(HostCore& host, LiveDialog& dialog, const DialogAction& action) {
    const bool wantsState = action.kind == DialogAction::Kind::SetCheck;
    LiveItem* item = Target(
        dialog, action, [](ControlKind kind) { return kind == ControlKind::CheckBox; },
        "a check box", "clicking");
    if (item == nullptr) return;
    if (wantsState && item->state.checked == action.on) {
        dialog.Note(ItemName(action.item) + " is already " + (action.on ? "on" : "off") +
                    ": not clicked");
        return;
    }
    item->state.checked = !item->state.checked;
    dialog.Note("clicked " + ItemName(action.item) + ": " + (item->state.checked ? "on" : "off"));
    Notify(host, *item);
}

void Click(HostCore& host, LiveDialog& dialog, const DialogAction& action) {
    LiveItem* item = Target(
        dialog, action, [](ControlKind kind) { return IsButton(kind); }, "a button", "clicking");
    if (item == nullptr) return;
    dialog.Note("clicked " + ItemName(action.item));
    Notify(host, *item);
}

void Play(HostCore& host, LiveDialog& dialog, const std::vector<DialogAction>& script) {
    for (std::size_t step = 0; step < script.size(); ++step) {
        if (dialog.closedBy) {
            dialog.Note(std::to_string(script.size() - step) +
                        " more actions not played: the dialog was closed");
            return;
        }
        const DialogAction& action = script[step];
        switch (action.kind) {
            case DialogAction::Kind::Type:
                Type(host, dialog, action);
                break;
            case DialogAction::Kind::Toggle:
            case DialogAction::Kind::SetCheck:
                Toggle(host, dialog, action);
                break;
            case DialogAction::Kind::Click:
                Click(host, dialog, action);
                break;
            case DialogAction::Kind::CloseWindow:
                dialog.Note("closed the window: Cancel");
                dialog.closedBy = kCancelId;
                break;
        }
    }
}

// A modal run that could not show its dialog.
int32_t NotShown(HostCore& host, DialogRun run, const std::string& why) {
    run.result = kCancelId;
    run.log.push_back("not shown: " + why);
    host.problems.push_back("ADMDialog.Modal did not show dialog " + std::to_string(run.dialogId) +
                            ": " + why);
    host.dialogs.runs.push_back(std::move(run));
    return kCancelId;
}

// Closes the open dialog whatever way Modal is left.
class OpenDialog {
public:
    OpenDialog(DialogManager& manager, std::unique_ptr<LiveDialog> dialog) : manager_(manager) {
        manager_.open = std::move(dialog);
    }
    ~OpenDialog() { manager_.open.reset(); }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

private:
    DialogManager& manager_;
};

}  // namespace

LiveItem* LiveDialog::Item(int32_t itemId) {
    for (LiveItem& item : items)
        if (item.state.id == itemId) return &item;
    return nullptr;
}

void LiveDialog::Refuse(const std::string& line) {
    log.push_back("refused " + line);
    refusals.push_back(line);
}

LiveDialog* DialogManager::Dialog(DialogRef ref) {
    if (!open || ref == nullptr || open->ref != ref) return nullptr;
    return open.get();
}

LiveItem* DialogManager::Item(ItemRef ref) {
    if (!open || ref == nullptr) return nullptr;
    const auto it = open->byRef.find(FromRef(ref));
    return it == open->byRef.end() ? nullptr : &open->items[it->second];
}

void DefaultNotification(HostCore& host, LiveItem& item) {
    LiveDialog* dialog = host.dialogs.open.get();
    if (dialog == nullptr || !IsButton(item.state.kind)) return;  // nothing to do by default
    if (dialog->closedBy) return;
    dialog->closedBy = item.state.id;
    dialog->Note(ItemName(item.state.id) + " closed the dialog");
}

std::string ItemDetail(ItemRef ref) {
    if (ref == nullptr) return "(null item)";
    HostCore* core = Current();
    const LiveItem* item = core != nullptr ? core->dialogs.Item(ref) : nullptr;
    return item != nullptr ? ItemName(item->state.id) : std::string("(unknown item)");
}

int32_t RunModal(HostCore& host, PluginRef self, const char* name, int32_t dialogId,
                 ADMDialogInitProc initProc, ADMUserData userData) {
    DialogManager& manager = host.dialogs;
    DialogRun run;
    run.dialogId = dialogId;
    run.name = name != nullptr ? name : "";
    // Each run takes the next script, even one that cannot show its dialog.
    std::vector<DialogAction> script;
    const bool scripted = !manager.scripts.empty();
    if (scripted) {
        script = std::move(manager.scripts.front());
        manager.scripts.pop_front();
    }

    if (self != host.pluginRef)
        return NotShown(host, std::move(run), "the plug-in reference is not this host's");
    if (manager.open) return NotShown(host, std::move(run), "another modal dialog is open");
    if (dialogId < 0 || dialogId > 0xFFFF)
        return NotShown(host, std::move(run), "the id is not a resource id");
    std::optional<DialogTemplate> dialogTemplate;
    try {
        dialogTemplate =
            FindDialog(*host.Resources(), static_cast<uint16_t>(dialogId), std::nullopt);
    } catch (const std::exception& error) {
        return NotShown(host, std::move(run), error.what());
    }
    if (!dialogTemplate) {
        return NotShown(host, std::move(run),
                        host.Resources()->Origin() + " has no dialog " + std::to_string(dialogId));
    }
    run.caption = dialogTemplate->caption;

    auto dialog = std::make_unique<LiveDialog>();
    dialog->ref = ToRef<DialogRef>(NextToken());
    dialog->id = dialogId;
    dialog->userData = userData;
    for (const DialogItem& source : dialogTemplate->items) {
        dialog->items.push_back(MakeItem(source));
        dialog->byRef.emplace(FromRef(dialog->items.back().ref), dialog->items.size() - 1);
    }
    LiveDialog& live = *dialog;
    const OpenDialog scope(manager, std::move(dialog));

    HostErr initResult = kNoErr;
    if (initProc != nullptr) initResult = initProc(live.ref);
    run.opened = Snapshot(live);
    if (initResult != kNoErr) {
        live.Note("the init proc answered " + DescribeHostErr(initResult) + ": closed as Cancel");
        live.closedBy = kCancelId;
    } else {
        if (!scripted) live.Note("no script was given");
        Play(host, live, script);
        if (!live.closedBy) {
            live.Note("the script ended with the dialog open: closed as Cancel");
            live.closedBy = kCancelId;
        }
    }
    run.result = *live.closedBy;
    run.closed = Snapshot(live);
    run.log = std::move(live.log);
    run.refusals = std::move(live.refusals);
    manager.runs.push_back(std::move(run));
    return manager.runs.back().result;
}

}  // namespace headless::detail
