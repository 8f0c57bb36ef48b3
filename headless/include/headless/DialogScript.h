// The dialog manager as tests and tools drive it: scripts of user actions
// played into a modal dialog, and what each modal run left behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostinterface/HostInterface.h"
#include "winres/DialogTemplate.h"

namespace headless {

// One thing the user does in a modal dialog.
struct DialogAction {
    enum class Kind {
        Type,         // type value into an edit field (clamped to its minimum and maximum)
        Toggle,       // click a check box
        SetCheck,     // click a check box when its state differs from on
        Click,        // click a button
        CloseWindow,  // close the window: Cancel, without notifications
    };
    Kind kind = Kind::CloseWindow;
    int32_t item = 0;
    float value = 0.0f;
    bool on = false;

    static DialogAction Type(int32_t item, float value) { return {Kind::Type, item, value, false}; }
    static DialogAction Toggle(int32_t item) { return {Kind::Toggle, item, 0.0f, false}; }
    static DialogAction SetCheck(int32_t item, bool on) { return {Kind::SetCheck, item, 0.0f, on}; }
    static DialogAction Click(int32_t item) { return {Kind::Click, item, 0.0f, false}; }
    static DialogAction CloseWindow() { return {Kind::CloseWindow, 0, 0.0f, false}; }
};

// One item of a dialog as the host holds it.
struct DialogItemState {
    int32_t id = 0;
    ControlKind kind = ControlKind::Other;  // from the template's class and style
    std::string text;                       // the template's text
    bool enabled = true;
    bool active = false;        // has the focus
    bool textSelected = false;  // its whole text is selected
    int32_t units = 0;
    float minimum = 0.0f;  // edit fields open with the float range
    float maximum = 0.0f;
    float value = 0.0f;
    bool checked = false;  // the boolean value
    bool hasNotifyProc = false;
};

// One run of ADMDialog.Modal.
struct DialogRun {
    int32_t dialogId = 0;
    std::string name;
    std::string caption;                  // the template's
    int32_t result = 0;                   // the id Modal returned
    std::vector<DialogItemState> opened;  // after the init proc, in template order
    std::vector<DialogItemState> closed;  // as the init proc and the script left them
    std::vector<std::string> log;         // the script's effects and how the dialog closed
    std::vector<std::string> refusals;    // actions the dialog refused, e.g. typing into a
                                          // disabled field; also in log

    // The item in closed (or opened) with that id, or null.
    const DialogItemState* Closed(int32_t itemId) const;
    const DialogItemState* Opened(int32_t itemId) const;
};

}  // namespace headless
