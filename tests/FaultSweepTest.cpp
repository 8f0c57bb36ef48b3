// Fail each host call of a message in turn: the plug-in must hand the host's
// code back unchanged, release every suite and leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "cli/ParametersScript.h"
#include "runtime/PluginGlobals.h"
#include "support/HostCalls.h"
#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Document;
using headless::Host;
using headless::HostCall;
using testing_support::kInjected;
using testing_support::PluginHost;
using testing_support::PluginUnderTest;
using testing_support::Polygon;
using testing_support::SetParameters;
using testing_support::Square;

// Calls whose answers the plug-in does not examine.
const std::set<std::string> kUnexamined = {"Basic.ReleaseSuite",     "Dictionary.Release",
                                           "MdMemory.DisposeHandle", "Array.Release",
                                           "Basic.FreeBlock",        "Blocks.FreeBlock"};

Document SmallMosaic() {
    Document document;
    document.art = {Square(0, 0, 10, true), Square(10, 0, 10, false),
                    Polygon({{0, 10}, {10, 10}, {5, 18}}, true, 0.2f)};
    return document;
}

// One message to sweep: what is done before it, and the message itself.
struct Scenario {
    const char* name;
    std::function<void(Host&, PluginMainProc)> before;
    std::function<HostErr(Host&, PluginMainProc)> send;
    // Further calls whose answer is not examined, by the log up to and
    // including the failed call (the last entry).
    std::function<bool(const std::vector<HostCall>&)> alsoUnexamined = {};
};

// The log up to and including the n-th fallible call.
std::vector<HostCall> UpToNthFallible(const std::vector<HostCall>& calls, int n) {
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].fallible && --n == 0)
            return std::vector<HostCall>(calls.begin(), calls.begin() + std::ptrdiff_t(i) + 1);
    throw std::logic_error("fewer fallible calls than expected");
}

int FallibleCount(const std::vector<HostCall>& calls) {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [](const HostCall& c) { return c.fallible; }));
}

void Sweep(const Scenario& scenario) {
    PluginUnderTest plugin;
    int total = 0;
    {
        Document document = SmallMosaic();
        PluginHost host(document, 3);
        scenario.before(host, plugin.entry());
        host.ClearCalls();
        ASSERT_EQ(scenario.send(host, plugin.entry()), kNoErr);
        total = FallibleCount(host.Calls());
        host.Shutdown(plugin.entry());
    }
    ASSERT_GT(total, 0);

    for (int n = 1; n <= total; ++n) {
        Document document = SmallMosaic();
        PluginHost host(document, 3);
        scenario.before(host, plugin.entry());
        host.ClearCalls();
        host.FailNthCall(n, kInjected);
        const HostErr result = scenario.send(host, plugin.entry());
        const std::vector<HostCall> upToFailed = UpToNthFallible(host.Calls(), n);
        const HostCall failed = upToFailed.back();
        SCOPED_TRACE(std::string(scenario.name) + ": call " + std::to_string(n) + " " + failed.op +
                     " " + failed.detail);
        ASSERT_EQ(failed.result, kInjected);

        const bool examined = kUnexamined.count(failed.op) == 0 &&
                              !(scenario.alsoUnexamined && scenario.alsoUnexamined(upToFailed));
        EXPECT_EQ(result, examined ? kInjected : kNoErr);

        const headless::Holdings held = host.Held();
        if (failed.op == "Basic.ReleaseSuite") {
            EXPECT_EQ(held.suites, (std::map<std::string, int>{{failed.detail, 1}}));
        } else {
            EXPECT_TRUE(held.suites.empty()) << held.Describe();
        }
        EXPECT_EQ(held.dictionaries, failed.op == "Dictionary.Release" ? 1 : 0) << held.Describe();
        EXPECT_EQ(held.handles, failed.op == "MdMemory.DisposeHandle" ? 1 : 0) << held.Describe();
        EXPECT_EQ(held.arrays, 0) << held.Describe();
        EXPECT_EQ(held.strings, 0) << held.Describe();
        // The globals block, once made, and a block whose free was refused.
        EXPECT_EQ(held.blocks,
                  (host.Globals() != nullptr ? 1 : 0) + (failed.op == "Blocks.FreeBlock" ? 1 : 0))
            << held.Describe();

        host.ClearFaults();
        host.Shutdown(plugin.entry());
        if (failed.op != "Basic.ReleaseSuite" && failed.op != "Dictionary.Release" &&
            failed.op != "MdMemory.DisposeHandle" && failed.op != "Blocks.FreeBlock") {
            EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
        }
    }
}

void Started(Host& host, PluginMainProc entry) {
    ASSERT_EQ(host.Startup(entry), kNoErr);
    SetParameters(host, {6.0f, 5.0f, 95.0f, 1});
}

TEST(FaultSweep, FilterRun) {
    Sweep({"AI Go", Started, [](Host& h, PluginMainProc e) { return h.FilterGo(e); }});
}

TEST(FaultSweep, Startup) {
    Sweep({"Startup", [](Host&, PluginMainProc) {},
           [](Host& h, PluginMainProc e) { return h.Startup(e); }});
}

TEST(FaultSweep, GetParametersWithOK) {
    Sweep({"AI Get Parameters",
           [](Host& h, PluginMainProc e) {
               ASSERT_EQ(h.Startup(e), kNoErr);  // the parameters handle is made in the message
               // A gray range typed upside down, which OK puts in order.
               h.ScriptDialog(cli::ParametersDialogScript({8.0f, 80.0f, 20.0f, 1}));
           },
           [](Host& h, PluginMainProc e) { return h.FilterGetParameters(e); }});
}

TEST(FaultSweep, AboutItem) {
    Sweep({"AI Menu / AI Go", [](Host& h, PluginMainProc e) { ASSERT_EQ(h.Startup(e), kNoErr); },
           [](Host& h, PluginMainProc e) {
               const auto* globals = static_cast<const PluginGlobals*>(h.Globals());
               return h.MenuGo(e, globals->aboutItem);
           },
           // Without its own dialog manager suite the helper just shows no box.
           [](const std::vector<HostCall>& calls) {
               const auto isADMAcquire = [](const HostCall& call) {
                   return call.op == "Basic.AcquireSuite" && call.detail == "ADM Basic Suite";
               };
               return isADMAcquire(calls.back()) &&
                      std::count_if(calls.begin(), calls.end(), isADMAcquire) == 2;
           }});
}

}  // namespace
