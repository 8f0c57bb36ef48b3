#include "winres/DialogTemplate.h"

#include "winres/ByteReader.h"
#include "winres/Utf16.h"

namespace headless {
namespace {

// Button and static type bits (the low bits of the style).
constexpr uint32_t kBsTypeMask = 0x0F;
constexpr uint32_t kBsPushButton = 0x0, kBsDefPushButton = 0x1, kBsCheckBox = 0x2,
                   kBsAutoCheckBox = 0x3, kBsRadioButton = 0x4, kBs3State = 0x5,
                   kBsAuto3State = 0x6, kBsGroupBox = 0x7, kBsAutoRadioButton = 0x9;
constexpr uint32_t kSsTypeMask = 0x1F;
constexpr uint32_t kSsLeft = 0x0, kSsCenter = 0x1, kSsRight = 0x2, kSsLeftNoWordWrap = 0xC,
                   kSsSimple = 0xB;

ControlKind ButtonKind(uint32_t style) {
    switch (style & kBsTypeMask) {
        case kBsPushButton:
            return ControlKind::PushButton;
        case kBsDefPushButton:
            return ControlKind::DefaultPushButton;
        case kBsCheckBox:
        case kBsAutoCheckBox:
        case kBs3State:
        case kBsAuto3State:
            return ControlKind::CheckBox;
        case kBsRadioButton:
        case kBsAutoRadioButton:
            return ControlKind::RadioButton;
        case kBsGroupBox:
            return ControlKind::GroupBox;
        default:
            return ControlKind::Other;
    }
}

ControlKind StaticKind(uint32_t style) {
    switch (style & kSsTypeMask) {
        case kSsLeft:
        case kSsCenter:
        case kSsRight:
        case kSsSimple:
        case kSsLeftNoWordWrap:
            return ControlKind::StaticText;
        default:
            return ControlKind::Other;  // icons, bitmaps, frames
    }
}

DialogItem ReadItem(ByteReader& in, uint16_t number, uint16_t count) {
    in.AlignTo4();
    if (in.AtEnd()) {
        in.Fail(in.pos(), "the template ends after " + std::to_string(number - 1) + " of its " +
                              std::to_string(count) + " items");
    }
    DialogItem item;
    item.style = in.U32("item style");
    item.extendedStyle = in.U32("item extended style");
    item.x = in.I16("item x");
    item.y = in.I16("item y");
    item.cx = in.I16("item width");
    item.cy = in.I16("item height");
    item.id = in.U16("item id");
    item.windowClass = in.NameOrOrdinal("item class");
    item.text = in.NameOrOrdinal("item text");
    const uint16_t extra = in.U16("item creation data size");
    item.creationData = in.Bytes(extra, "item creation data");
    return item;
}

}  // namespace

const char* ControlKindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
            return "push button";
        case ControlKind::DefaultPushButton:
            return "default push button";
        case ControlKind::CheckBox:
            return "check box";
        case ControlKind::RadioButton:
            return "radio button";
        case ControlKind::GroupBox:
            return "group box";
        case ControlKind::StaticText:
            return "static text";
        case ControlKind::EditText:
            return "edit field";
        case ControlKind::Other:
            break;
    }
    return "other control";
}

ControlKind DialogItem::Kind() const {
    if (!windowClass.IsOrdinal()) return ControlKind::Other;
    switch (windowClass.ordinal()) {
        case kButtonClass:
            return ButtonKind(style);
        case kStaticClass:
            return StaticKind(style);
        case kEditClass:
            return ControlKind::EditText;
        default:
            return ControlKind::Other;
    }
}

const DialogItem* DialogTemplate::Item(uint16_t itemId) const {
    for (const DialogItem& item : items) {
        if (item.id == itemId) return &item;
    }
    return nullptr;
}

DialogTemplate DecodeDialog(std::span<const uint8_t> bytes, const std::string& where) {
    ByteReader in(bytes, where);
    DialogTemplate dialog;
    dialog.style = in.U32("dialog style");
    // An extended template starts with version 1 and the signature 0xFFFF.
    if (dialog.style == 0xFFFF0001u) {
        in.Fail(0, "an extended (DIALOGEX) template, expected a classic DIALOG template");
    }
    dialog.extendedStyle = in.U32("dialog extended style");
    const uint16_t count = in.U16("item count");
    dialog.x = in.I16("dialog x");
    dialog.y = in.I16("dialog y");
    dialog.cx = in.I16("dialog width");
    dialog.cy = in.I16("dialog height");
    dialog.menu = in.NameOrOrdinal("dialog menu");
    dialog.windowClass = in.NameOrOrdinal("dialog class");
    dialog.caption = Utf8FromUtf16(in.ZString16("dialog caption"));
    dialog.hasFont = (dialog.style & kDsSetFont) != 0;
    if (dialog.hasFont) {
        dialog.pointSize = in.U16("font point size");
        dialog.fontFace = Utf8FromUtf16(in.ZString16("font face"));
    }
    dialog.items.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        dialog.items.push_back(ReadItem(in, static_cast<uint16_t>(i + 1), count));
    }
    in.AlignTo4();
    if (!in.AtEnd()) {
        in.Fail(in.pos(), std::to_string(in.remaining()) + " bytes follow the last of the " +
                              std::to_string(count) + " items");
    }
    return dialog;
}

std::optional<DialogTemplate> FindDialog(const ResourceSource& source, uint16_t dialogId,
                                         std::optional<uint16_t> language) {
    const auto bytes = source.Find(kDialogType, dialogId, language);
    if (!bytes) return std::nullopt;
    return DecodeDialog(*bytes, source.Origin() + ": " + DescribeResource(kDialogType, dialogId));
}

}  // namespace headless
