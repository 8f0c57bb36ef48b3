// The headless host's call log, the host current during a message, and
// loading a module.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "headless/PluginModule.h"
#include "support/HostFixture.h"
#include "support/HostScript.h"

namespace {

using headless::HostCall;
using testing_support::Acquire;
using testing_support::HostTest;
using testing_support::Suites;

TEST_F(HostTest, TheLogNamesEveryCallWithItsDetailAndAnswer) {
    WithSuites([&](const Suites& s) {
        host_.ClearCalls();
        s.dictionary->Key("10.0_-3.3");
        s.array->Release(nullptr);
        s.random->FloatRnd();
    });
    const std::vector<HostCall>& calls = host_.Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].op, "Dictionary.Key");
    EXPECT_EQ(calls[0].detail, "10.0_-3.3");
    EXPECT_FALSE(calls[0].fallible);
    EXPECT_EQ(calls[1].op, "Array.Release");
    EXPECT_TRUE(calls[1].fallible);
    EXPECT_EQ(calls[1].result, headless::kBadArrayErr);
    EXPECT_FALSE(calls[1].injected);
    EXPECT_EQ(calls[2].op, "Random.FloatRnd");
    EXPECT_EQ(calls[3].op, "Basic.ReleaseSuite");
    EXPECT_EQ(calls[3].detail, kArraySuite);
}

TEST_F(HostTest, SuitesCalledOutsideAMessageAnswerWithoutActing) {
    const ArraySuite* array = nullptr;
    const RandomSuite* random = nullptr;
    Run(host_, [&](MessageData& message) {
        Acquire(message.basic, kArraySuite, kArraySuiteVersion, &array);
        Acquire(message.basic, kRandomSuite, kRandomSuiteVersion, &random);
        message.basic->ReleaseSuite(kArraySuite, kArraySuiteVersion);
        message.basic->ReleaseSuite(kRandomSuite, kRandomSuiteVersion);
        return kNoErr;
    });
    host_.ClearCalls();
    ArrayRef out = nullptr;
    EXPECT_EQ(array->CreateArray(&out), headless::kNoCurrentHostErr);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(random->FloatRnd(), 0.0f);
    EXPECT_TRUE(host_.Calls().empty());
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST(PluginModule, AMissingModuleNamesItsPath) {
    try {
        headless::PluginModule module("/nonexistent/Pelvaro.aip");
        FAIL() << "loaded a module that does not exist";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/Pelvaro.aip"), std::string::npos)
            << error.what();
    }
}

TEST(HostWithoutPlugin, SendsNoMessageBeforeItHasReadAPluginsResources) {
    headless::Document document;
    headless::Host host(document, 1);  // no LoadPlugin
    bool ran = false;
    EXPECT_THROW(testing_support::RunInMessage(host, [&](MessageData&) { ran = true; }),
                 std::logic_error);
    EXPECT_FALSE(ran);
    EXPECT_TRUE(host.Calls().empty());
}

}  // namespace
