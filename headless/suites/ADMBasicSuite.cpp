// The dialog manager's basic suite. Interim: present so that it can be
// acquired; GetIndexString leaves the buffer untouched and AboutBox shows
// nothing until the dialog host lands.
#include "headless/HostCore.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kGetIndexString{"ADMBasic.GetIndexString", false};
constexpr Op kAboutBox{"ADMBasic.AboutBox", false};

void HOSTAPI GetIndexString(PluginRef, int32_t, int32_t, char*, int32_t) {
    NotImplementedVoid(kGetIndexString);
}

void HOSTAPI AboutBox(const char*, const char*) { NotImplementedVoid(kAboutBox); }

constexpr const Op* kOps[] = {&kGetIndexString, &kAboutBox};

const ADMBasicSuite kTable = {&GetIndexString, &AboutBox};

}  // namespace

const SuiteDef kADMBasicSuiteDef{kADMBasicSuite, kADMBasicSuiteVersion, &kTable, kOps};

}  // namespace headless::detail
