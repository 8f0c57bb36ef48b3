// The classic (not extended) dialog template: a header with the dialog's
// styles, size, menu, class, caption and font, then one DWORD-aligned item
// per control. Texts are kept in UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "winres/ResourceId.h"
#include "winres/ResourceSource.h"

namespace headless {

// Predefined window class atoms of dialog items.
constexpr uint16_t kButtonClass = 0x0080;
constexpr uint16_t kEditClass = 0x0081;
constexpr uint16_t kStaticClass = 0x0082;
constexpr uint16_t kListBoxClass = 0x0083;
constexpr uint16_t kScrollBarClass = 0x0084;
constexpr uint16_t kComboBoxClass = 0x0085;

constexpr uint32_t kDsSetFont = 0x40;  // DS_SETFONT: the header has a font

// What a dialog manager makes of an item: its class and, for buttons and
// statics, the type bits of its style.
enum class ControlKind {
    PushButton,
    DefaultPushButton,
    CheckBox,  // any check box, manual or automatic
    RadioButton,
    GroupBox,
    StaticText,
    EditText,
    Other,
};
const char* ControlKindName(ControlKind kind);

struct DialogItem {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    ResourceId windowClass = uint16_t{0};  // an atom above, or a class name
    ResourceId text = std::u16string();    // a string (maybe empty) or an ordinal
    std::vector<uint8_t> creationData;     // the bytes after the size word

    ControlKind Kind() const;
    // The text in UTF-8; empty when the text is an ordinal.
    std::string Text() const { return text.IsOrdinal() ? std::string() : text.Text(); }
};

struct DialogTemplate {
    uint32_t style = 0;
    uint32_t extendedStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    ResourceId menu = std::u16string();         // empty string: no menu
    ResourceId windowClass = std::u16string();  // empty string: the standard dialog class
    std::string caption;
    bool hasFont = false;  // DS_SETFONT
    uint16_t pointSize = 0;
    std::string fontFace;
    std::vector<DialogItem> items;  // in template (tab) order

    // The first item with this id, or null.
    const DialogItem* Item(uint16_t itemId) const;
};

// Throws ResourceError with where and the offset on bad bytes, and for an
// extended (DIALOGEX) template.
DialogTemplate DecodeDialog(std::span<const uint8_t> bytes, const std::string& where);

// Dialog dialogId in language (any when none is given) from source, or
// nullopt when there is none. Throws ResourceError on bad bytes.
std::optional<DialogTemplate> FindDialog(const ResourceSource& source, uint16_t dialogId,
                                         std::optional<uint16_t> language);

}  // namespace headless
