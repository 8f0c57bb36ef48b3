// The filter suite. Interim: present so that it can be acquired; its
// operations answer kNotImplementedErr until the registration host lands.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kAddFilter{"Filter.AddFilter", true};
constexpr Op kGetFilterMenuItem{"Filter.GetFilterMenuItem", true};

HostErr HOSTAPI AddFilter(PluginRef, const char*, PlatformFilterData*, int32_t, FilterHandle*) {
    return NotImplemented(kAddFilter);
}

HostErr HOSTAPI GetFilterMenuItem(FilterHandle, MenuItemHandle*) {
    return NotImplemented(kGetFilterMenuItem);
}

constexpr const Op* kOps[] = {&kAddFilter, &kGetFilterMenuItem};

const FilterSuite kTable = {&AddFilter, &GetFilterMenuItem};

}  // namespace

const SuiteDef kFilterSuiteDef{kFilterSuite, kFilterSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
