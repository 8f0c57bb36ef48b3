// The plug-in in a fresh host for each test, shut down afterwards; the test
// fails when the plug-in still holds anything of the host's by then.
#pragma once

#include <gtest/gtest.h>

#include "headless/Document.h"
#include "support/PluginUnderTest.h"

namespace testing_support {

class PluginFixture : public ::testing::Test {
protected:
    void TearDown() override {
        host_.ClearFaults();  // so that shut-down itself succeeds
        host_.Shutdown(plugin_.entry());
        if (expectNothingHeld_) {
            EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
        }
    }

    // A test that leaves something held on purpose turns the check off.
    bool expectNothingHeld_ = true;

    PluginUnderTest plugin_;
    headless::Document document_;
    PluginHost host_{document_, 1};
};

}  // namespace testing_support
