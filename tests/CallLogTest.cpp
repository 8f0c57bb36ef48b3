// The call log is off unless asked for (a big run would otherwise keep a
// record of millions of calls); faults work without it, and reading a log
// that was never kept is an error, not an empty answer.
#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "headless/Host.h"
#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

TEST(CallLog, OffItKeepsNothingYetFaultsStillStrike) {
    testing_support::PluginUnderTest plugin;
    headless::Document document;
    document.art = {testing_support::Square(0, 0, 10, true)};
    testing_support::PluginHost host(document, 3);
    host.LogCalls(false);
    ASSERT_EQ(host.Startup(plugin.entry()), kNoErr);
    testing_support::SetParameters(host, kDefaultJitterParams);
    const HostErr injected = FourCharCode('F', 'A', 'I', 'L');
    host.FailOperation("Path.SetPathSegments", injected);
    EXPECT_EQ(host.FilterGo(plugin.entry()), injected);
    EXPECT_GT(host.FallibleCalls(), 0);
    EXPECT_THROW(host.Calls(), std::logic_error);
    std::ostringstream text;
    EXPECT_THROW(host.WriteCallLog(text), std::logic_error);
    host.ClearFaults();
    EXPECT_EQ(host.Shutdown(plugin.entry()), kNoErr);
}

TEST(CallLog, OnItRecordsEachCallWithItsDetailAndAnswer) {
    testing_support::PluginUnderTest plugin;
    headless::Document document;
    document.art = {testing_support::Square(0, 0, 10, true)};
    testing_support::PluginHost host(document, 3);
    host.LogCalls(true);
    ASSERT_EQ(host.Startup(plugin.entry()), kNoErr);
    testing_support::SetParameters(host, kDefaultJitterParams);
    host.ClearCalls();
    host.FailNthCall(3, FourCharCode('F', 'A', 'I', 'L'));
    host.FilterGo(plugin.entry());
    const std::vector<headless::HostCall>& calls = host.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].op, "Basic.AcquireSuite");
    EXPECT_FALSE(calls[0].detail.empty());  // the suite's name
    EXPECT_EQ(calls[0].result, kNoErr);
    EXPECT_TRUE(calls[2].injected);
    EXPECT_EQ(calls[2].result, FourCharCode('F', 'A', 'I', 'L'));
    std::ostringstream text;
    host.WriteCallLog(text);
    EXPECT_NE(text.str().find(calls[2].op + " " + calls[2].detail + " -> 'FAIL' (injected)\n"),
              std::string::npos)
        << text.str();
    host.Shutdown(plugin.entry());
}

}  // namespace
