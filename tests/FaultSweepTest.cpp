// Fail each host call of a message in turn: the plug-in must hand the host's
// code back unchanged, release every suite and leave nothing behind.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "PluginUnderTest.h"

namespace {

using headless::Document;
using headless::Host;
using headless::HostCall;
using testing_support::PluginUnderTest;
using testing_support::Polygon;
using testing_support::Square;

constexpr HostErr kInjected = FourCharCode('F', 'A', 'I', 'L');

// Calls whose answers the plug-in does not examine.
const std::set<std::string> kUnexamined = {"Basic.ReleaseSuite", "Dictionary.Release",
                                           "MdMemory.DisposeHandle", "Array.Release",
                                           "Basic.FreeBlock"};

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
};

const HostCall& NthFallible(const std::vector<HostCall>& calls, int n) {
    for (const HostCall& call : calls)
        if (call.fallible && --n == 0) return call;
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
        Host host(document, 3);
        scenario.before(host, plugin.entry());
        host.ClearCalls();
        ASSERT_EQ(scenario.send(host, plugin.entry()), kNoErr);
        total = FallibleCount(host.Calls());
        host.Shutdown(plugin.entry());
    }
    ASSERT_GT(total, 0);

    for (int n = 1; n <= total; ++n) {
        Document document = SmallMosaic();
        Host host(document, 3);
        scenario.before(host, plugin.entry());
        host.ClearCalls();
        host.FailNthCall(n, kInjected);
        const HostErr result = scenario.send(host, plugin.entry());
        const HostCall failed = NthFallible(host.Calls(), n);
        SCOPED_TRACE(std::string(scenario.name) + ": call " + std::to_string(n) + " " + failed.op +
                     " " + failed.detail);
        ASSERT_EQ(failed.result, kInjected);

        const bool examined = kUnexamined.count(failed.op) == 0;
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

        host.ClearFaults();
        host.Shutdown(plugin.entry());
        if (failed.op != "Basic.ReleaseSuite" && failed.op != "Dictionary.Release" &&
            failed.op != "MdMemory.DisposeHandle") {
            EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
        }
    }
}

void Started(Host& host, PluginMainProc entry) {
    ASSERT_EQ(host.Startup(entry), kNoErr);
    host.SetParameters({6.0f, 5.0f, 95.0f, 1});
}

TEST(FaultSweep, FilterRun) {
    Sweep({"AI Go", Started, [](Host& h, PluginMainProc e) { return h.FilterGo(e); }});
}

}  // namespace
