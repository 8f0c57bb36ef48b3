// The filter's parameters handle: a handle the plug-in stores in the message
// becomes the host's, kept as bytes between messages.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "support/HostFixture.h"
#include "support/Parameters.h"

namespace {

using testing_support::Acquire;
using testing_support::HostTest;
using testing_support::Parameters;
using testing_support::SetParameters;

TEST_F(HostTest, AHandleThePluginStoresAsParametersBecomesTheHosts) {
    HostHandle stored = nullptr;
    const auto storeNew = [&](MessageData& message) {
        auto& filter = reinterpret_cast<FilterMessage&>(message);
        const MdMemorySuite* memory = nullptr;
        Acquire(message.basic, kMdMemorySuite, kMdMemorySuiteVersion, &memory);
        EXPECT_EQ(memory->NewHandle(sizeof(JitterParams), &filter.parameters), kNoErr);
        const JitterParams params{1.0f, 2.0f, 3.0f, 0};
        std::memcpy(*filter.parameters, &params, sizeof params);
        stored = filter.parameters;
        return message.basic->ReleaseSuite(kMdMemorySuite, kMdMemorySuiteVersion);
    };
    SetParameters(host_, kDefaultJitterParams);
    ASSERT_EQ(Run(host_, storeNew, kFilterCaller), kNoErr);
    EXPECT_TRUE(host_.HasParameters());
    EXPECT_EQ(Parameters(host_).moveRange, 1.0f);
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();  // adopted, and the old one gone
    EXPECT_TRUE(host_.Problems().empty());

    // The host's handle is not the plug-in's to dispose of.
    Run(host_, [&](MessageData& message) {
        const MdMemorySuite* memory = nullptr;
        Acquire(message.basic, kMdMemorySuite, kMdMemorySuiteVersion, &memory);
        EXPECT_EQ(memory->DisposeHandle(stored), headless::kNotOwnerErr);
        return message.basic->ReleaseSuite(kMdMemorySuite, kMdMemorySuiteVersion);
    });
    EXPECT_EQ(Parameters(host_).moveRange, 1.0f);

    // A field left pointing at no live handle is noticed and not kept.
    Run(
        host_,
        [&](MessageData& message) {
            const MdMemorySuite* memory = nullptr;
            Acquire(message.basic, kMdMemorySuite, kMdMemorySuiteVersion, &memory);
            HostHandle dead = nullptr;
            EXPECT_EQ(memory->NewHandle(4, &dead), kNoErr);
            EXPECT_EQ(memory->DisposeHandle(dead), kNoErr);
            reinterpret_cast<FilterMessage&>(message).parameters = dead;
            return message.basic->ReleaseSuite(kMdMemorySuite, kMdMemorySuiteVersion);
        },
        kFilterCaller);
    EXPECT_EQ(host_.Problems().size(), 1u);
    EXPECT_EQ(Parameters(host_).moveRange, 1.0f);
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, TheParametersHandleKeepsThePluginsBytesAsTheyAre) {
    EXPECT_FALSE(host_.HasParameters());
    EXPECT_THROW(host_.ParameterBytes(), std::logic_error);

    const std::vector<std::byte> record = {std::byte{1}, std::byte{2}, std::byte{3},
                                           std::byte{0xFF}, std::byte{0}};
    host_.SetParameterBytes(record);
    EXPECT_EQ(host_.ParameterBytes(), record);
    std::vector<std::byte> seen;  // what the plug-in finds behind the message's handle
    Run(
        host_,
        [&](MessageData& message) {
            const auto* block = reinterpret_cast<const std::byte*>(
                *reinterpret_cast<FilterMessage&>(message).parameters);
            seen.assign(block, block + record.size());
            return kNoErr;
        },
        kFilterCaller);
    EXPECT_EQ(seen, record);

    // A record of another size gets a handle of exactly that size.
    host_.SetParameterBytes(std::span(record).first(2));
    EXPECT_EQ(host_.ParameterBytes(), (std::vector<std::byte>{std::byte{1}, std::byte{2}}));
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
    // The typed reading refuses bytes that are not a JitterParams.
    EXPECT_THROW(Parameters(host_), std::logic_error);
}

}  // namespace
