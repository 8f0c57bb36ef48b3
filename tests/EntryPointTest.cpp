// PluginMain's dispatch, the life of the globals block, and the discipline
// of acquiring and releasing the suites around every working handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/HostCalls.h"
#include "support/Parameters.h"
#include "support/PluginFixture.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Host;
using testing_support::CallDetails;
using testing_support::PluginHost;
using testing_support::PluginUnderTest;
using testing_support::SetParameters;
using testing_support::Square;

constexpr HostErr kRefused = FourCharCode('T', 'E', 'S', 'T');

// The fifteen suites in the order the plug-in acquires them.
const std::vector<std::string> kSuiteOrder = {
    "AI Filter Suite",         "SP Blocks Suite",     "AI Array Suite",        "AI Art Suite",
    "AI Path Suite",           "AI Random Suite",     "AI Matching Art Suite", "AI Menu Suite",
    "AI Unicode String Suite", "AI Path Style Suite", "ADM Basic Suite",       "ADM Dialog Suite",
    "ADM Item Suite",          "AI MdMemory Suite",   "AI Dictionary Suite",
};

bool Called(const Host& host, const std::string& op) {
    const auto names = host.CallNames();
    return std::find(names.begin(), names.end(), op) != names.end();
}

class EntryPoint : public testing_support::PluginFixture {
protected:
    void SetUp() override { document_.art.push_back(Square(0, 0, 10, true)); }
};

TEST_F(EntryPoint, DispatchesByExactCallerAndSelector) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    SetParameters(host_, kDefaultJitterParams);

    // Which handler ran shows in the first call that only that handler makes.
    const struct {
        const char* caller;
        const char* selector;
        const char* telltale;  // null: no host call at all
    } cases[] = {
        {"AI Filter", "AI Go", "MatchingArt.GetMatchingArt"},
        {"AI Filter", "AI Get Parameters", "ADMDialog.Modal"},
        {"AI Menu", "AI Go", "Basic.AcquireSuite"},
        {"AI Menu", "AI Get Parameters", nullptr},
        {"SP Interface", "AI Go", nullptr},
        {"AI Filter", "ai go", nullptr},
        {"AI Filter", "AI Go ", nullptr},
        {"ai filter", "AI Go", nullptr},
        {"AI Filter ", "AI Get Parameters", nullptr},
        {"SP Interface", "startup", nullptr},
        {"SP Access", "unload", nullptr},
        {"Some Caller", "AI Go", nullptr},
        {"", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.caller) + " / " + c.selector);
        host_.ClearCalls();
        FilterMessage message{};
        message.parameters = nullptr;
        void* const globalsBefore = host_.Globals();
        const HostErr result = host_.Send(plugin_.entry(), c.caller, c.selector, &message.d);
        if (c.telltale == nullptr) {
            EXPECT_EQ(result, kNoErr);
            EXPECT_TRUE(host_.Calls().empty());
            EXPECT_EQ(host_.Globals(), globalsBefore);
        } else {
            EXPECT_TRUE(Called(host_, c.telltale));
        }
        EXPECT_TRUE(host_.Held().suites.empty()) << host_.Held().Describe();
    }
}

TEST_F(EntryPoint, StartupKeepsAGlobalsBlockUntilShutdown) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    EXPECT_NE(host_.Globals(), nullptr);
    EXPECT_EQ(host_.Held().blocks, 1);
    EXPECT_TRUE(host_.Held().suites.empty());

    host_.ClearCalls();
    EXPECT_EQ(host_.Shutdown(plugin_.entry()), kNoErr);
    EXPECT_EQ(host_.CallNames(), std::vector<std::string>{"Basic.FreeBlock"});
    EXPECT_EQ(host_.Globals(), nullptr);
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(EntryPoint, ShutdownWithoutGlobalsFreesNothing) {
    EXPECT_EQ(host_.Shutdown(plugin_.entry()), kNoErr);
    EXPECT_TRUE(host_.Calls().empty());
}

TEST_F(EntryPoint, UnloadAndReloadHandBackTheSamePointer) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    void* const block = host_.Globals();

    host_.ClearCalls();
    EXPECT_EQ(host_.Unload(plugin_.entry()), kNoErr);
    EXPECT_EQ(host_.Globals(), block);
    plugin_.Reload();  // the library really goes and comes back
    EXPECT_EQ(host_.Reload(plugin_.entry()), kNoErr);
    EXPECT_TRUE(host_.Calls().empty());

    // The reloaded plug-in frees exactly the block it was handed back.
    EXPECT_EQ(host_.Shutdown(plugin_.entry()), kNoErr);
    EXPECT_EQ(host_.Held().blocks, 0);
    EXPECT_EQ(host_.Globals(), nullptr);
}

TEST_F(EntryPoint, FailedAllocationEndsStartupWithTheHostCode) {
    host_.FailOperation("Basic.AllocateBlock", kRefused);
    EXPECT_EQ(host_.Startup(plugin_.entry()), kRefused);
    EXPECT_EQ(host_.Globals(), nullptr);
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

// Every handler that works inside the frame, sent with the plug-in started.
struct FramedHandler {
    const char* name;
    HostErr (*send)(Host&, PluginMainProc);
};

const FramedHandler kFramedHandlers[] = {
    {"Startup", [](Host& h, PluginMainProc e) { return h.Startup(e); }},
    {"FilterGo", [](Host& h, PluginMainProc e) { return h.FilterGo(e); }},
    {"FilterGetParameters", [](Host& h, PluginMainProc e) { return h.FilterGetParameters(e); }},
    {"MenuGo", [](Host& h, PluginMainProc e) { return h.MenuGo(e, nullptr); }},
};

TEST_F(EntryPoint, AMissingSuiteStopsEveryHandlerBeforeItsWork) {
    for (const FramedHandler& handler : kFramedHandlers) {
        for (size_t missing = 0; missing < kSuiteOrder.size(); ++missing) {
            SCOPED_TRACE(std::string(handler.name) + " without " + kSuiteOrder[missing]);
            PluginHost host(document_, 1);
            SetParameters(host, kDefaultJitterParams);
            host.RefuseAcquire(kSuiteOrder[missing], kRefused);

            EXPECT_EQ(handler.send(host, plugin_.entry()), kRefused);

            // Fifteen acquisitions in table order, then the releases of the
            // fourteen that were granted, and nothing else.
            std::vector<std::string> released = kSuiteOrder;
            released.erase(released.begin() + static_cast<std::ptrdiff_t>(missing));
            std::vector<std::string> expected(kSuiteOrder.size(), "Basic.AcquireSuite");
            expected.insert(expected.end(), released.size(), "Basic.ReleaseSuite");
            EXPECT_EQ(host.CallNames(), expected);
            EXPECT_EQ(CallDetails(host, "Basic.AcquireSuite"), kSuiteOrder);
            EXPECT_EQ(CallDetails(host, "Basic.ReleaseSuite"), released);
            EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
        }
    }
}

TEST_F(EntryPoint, ASuiteGrantedWithoutATableDoesNoWork) {
    for (const FramedHandler& handler : kFramedHandlers) {
        SCOPED_TRACE(handler.name);
        PluginHost host(document_, 1);
        SetParameters(host, kDefaultJitterParams);
        host.NullTable("AI Path Suite");
        EXPECT_EQ(handler.send(host, plugin_.entry()), kOutOfMemoryErr);
        EXPECT_EQ(host.CallNames().size(), 2 * kSuiteOrder.size() - 1);
        EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();
    }
}

TEST_F(EntryPoint, ARefusedReleaseLeavesThatSuiteHeldAndIsNotReported) {
    ASSERT_EQ(host_.Startup(plugin_.entry()), kNoErr);
    SetParameters(host_, kDefaultJitterParams);
    host_.RefuseRelease("AI Random Suite", kRefused);
    EXPECT_EQ(host_.FilterGo(plugin_.entry()), kNoErr);
    EXPECT_EQ(host_.Held().suites, (std::map<std::string, int>{{"AI Random Suite", 1}}));

    // The next message acquires it again and releases it once: the
    // acquisition whose release was refused stays with the plug-in.
    host_.ClearFaults();
    EXPECT_EQ(host_.FilterGo(plugin_.entry()), kNoErr);
    EXPECT_EQ(host_.Held().suites, (std::map<std::string, int>{{"AI Random Suite", 1}}));
    expectNothingHeld_ = false;
}

}  // namespace
