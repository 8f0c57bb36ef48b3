// The filter suite: registered filters with copies of their name and Pascal
// strings, each with the menu item the host makes for it.
#include <string>

#include "headless/HostCore.h"
#include "headless/UniStrings.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAddFilter{"Filter.AddFilter", true};
constexpr Op kGetFilterMenuItem{"Filter.GetFilterMenuItem", true};

// The whole Pascal string: its length byte and that many bytes.
std::string PascalBytes(const unsigned char* pascal) {
    return std::string(reinterpret_cast<const char*>(pascal), std::size_t{pascal[0]} + 1);
}

// The text of single-byte bytes, as UTF-8.
std::string SingleByteText(const std::string& bytes) {
    std::u32string text;
    DecodeText(bytes, kPascalEncoding, &text);  // every byte decodes
    return Utf8Text(text);
}

HostErr HOSTAPI AddFilter(PluginRef self, const char* name, PlatformFilterData* data,
                          int32_t options, FilterHandle* filter) {
    return Fallible(kAddFilter, Text(name), [&](HostCore& host) -> HostErr {
        if (self != host.pluginRef) return kBadPluginErr;
        if (name == nullptr || data == nullptr || data->category == nullptr ||
            data->title == nullptr || filter == nullptr)
            return kBadParameterErr;
        FilterRecord record;
        record.name = name;
        record.categoryPascal = PascalBytes(data->category);
        record.titlePascal = PascalBytes(data->title);
        record.category = SingleByteText(record.categoryPascal.substr(1));
        record.title = SingleByteText(record.titlePascal.substr(1));
        record.options = options;

        // The filter's item in the filter menu, under its category.
        MenuItemRecord item;
        item.group = record.category;
        item.text = record.title;
        const FilterHandle made = host.filters.Add(std::move(record));
        item.filter = made;
        host.filters.Find(made)->menuItem = host.menus.AddItem(std::move(item));
        if (host.filterHandle == nullptr) host.filterHandle = made;  // sent with filter messages
        *filter = made;
        return kNoErr;
    });
}

HostErr HOSTAPI GetFilterMenuItem(FilterHandle filter, MenuItemHandle* item) {
    return Fallible(kGetFilterMenuItem, {}, [&](HostCore& host) -> HostErr {
        if (item == nullptr) return kBadParameterErr;
        const FilterRecord* record = host.filters.Find(filter);
        if (record == nullptr) return kBadFilterErr;
        *item = record->menuItem;
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kAddFilter, &kGetFilterMenuItem};

const FilterSuite kTable = {&AddFilter, &GetFilterMenuItem};

}  // namespace

const SuiteDef kFilterSuiteDef{kFilterSuite, kFilterSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
