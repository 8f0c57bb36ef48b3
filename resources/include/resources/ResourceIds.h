// Ids and texts of the plug-in's resources, as resources/Pelvaro.rc gives them.
#pragma once

#include <cstdint>

// The plug-in's name: the PiPL name, the filter name and title, the dialog.
constexpr const char* kPluginName = "Pelvaro";

constexpr int32_t kPiPLResourceId = 16000;

// String list: entry n is string kStringListId + n.
constexpr int32_t kStringListId = 16000;
constexpr int32_t kCategoryStringIndex = 1;  // "tovi plug-ins"
constexpr int32_t kTitleStringIndex = 2;     // "Pelvaro"

// The parameters dialog and its items.
constexpr int32_t kParamsDialogId = 16000;
constexpr int32_t kOKItem = 1;
constexpr int32_t kCancelItem = 2;
constexpr int32_t kMoveRangeLabelItem = 3;
constexpr int32_t kGrayMinLabelItem = 4;
constexpr int32_t kGrayMaxLabelItem = 5;
constexpr int32_t kMoveRangeItem = 6;
constexpr int32_t kRandomFillItem = 7;
constexpr int32_t kGrayMinItem = 8;
constexpr int32_t kGrayMaxItem = 9;
