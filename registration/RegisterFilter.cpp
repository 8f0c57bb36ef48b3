// The filter's registration: category and title from the string list.
#include "hoststring/PascalString.h"
#include "registration/Registration.h"
#include "resources/ResourceIds.h"
#include "runtime/PluginGlobals.h"

namespace {

// Room for a 65-byte read and for its Pascal form (length byte and 65 bytes).
constexpr int32_t kStringReadSize = 65;
constexpr uint32_t kPascalMaximum = 65;
constexpr std::size_t kBufferSize = 66;

constexpr int32_t kFilterOptions = 1;

// The automatic update of the filter's menu item: an action and six conditions.
constexpr int32_t kUpdateAction = 1;
constexpr int32_t kUpdateIfMenu1 = 0;
constexpr int32_t kUpdateIfMenu2 = 0;
constexpr int32_t kUpdateIfObjects = 2;
constexpr int32_t kUpdateIfNotObjects = 0;
constexpr int32_t kUpdateIfDocument = 0;
constexpr int32_t kUpdateIfNotDocument = 0;

void ReadPascalString(MessageData* message, int32_t index, char* buffer) {
    // A failed read leaves the buffer as it was: the empty string.
    sADMBasic->GetIndexString(message->self, kStringListId, index, buffer, kStringReadSize);
    ToPascalInPlace(buffer, kPascalMaximum);
}

}  // namespace

HostErr RegisterFilter(MessageData* message) {
    char category[kBufferSize] = "";
    char title[kBufferSize] = "";
    ReadPascalString(message, kCategoryStringIndex, category);
    ReadPascalString(message, kTitleStringIndex, title);

    PlatformFilterData data{reinterpret_cast<unsigned char*>(category),
                            reinterpret_cast<unsigned char*>(title)};
    if (const HostErr error = sFilter->AddFilter(message->self, kPluginName, &data, kFilterOptions,
                                                 &gGlobals->filter))
        return error;

    MenuItemHandle item = nullptr;
    if (const HostErr error = sFilter->GetFilterMenuItem(gGlobals->filter, &item)) return error;
    return sMenu->UpdateMenuItemAutomatically(item, kUpdateAction, kUpdateIfMenu1, kUpdateIfMenu2,
                                              kUpdateIfObjects, kUpdateIfNotObjects,
                                              kUpdateIfDocument, kUpdateIfNotDocument);
}
