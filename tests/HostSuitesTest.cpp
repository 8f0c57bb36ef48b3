// The headless host serves each suite under its exact name and version.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "runtime/SuiteTable.h"
#include "support/HostFixture.h"

namespace {

using testing_support::HostTest;

TEST_F(HostTest, EverySuiteOfThePluginIsServedUnderItsNameAndVersion) {
    Run(host_, [&](MessageData& message) {
        for (const SuiteTableEntry& entry : SuiteTable) {
            const void* table = nullptr;
            EXPECT_EQ(message.basic->AcquireSuite(entry.name, entry.version, &table), kNoErr)
                << entry.name;
            EXPECT_NE(table, nullptr) << entry.name;
        }
        EXPECT_EQ(host_.Held().suites.size(), std::size(SuiteTable));
        for (const SuiteTableEntry& entry : SuiteTable)
            EXPECT_EQ(message.basic->ReleaseSuite(entry.name, entry.version), kNoErr);
        return kNoErr;
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, AcquisitionNeedsTheExactNameAndVersion) {
    const struct {
        const char* name;
        int32_t version;
        HostErr expected;
    } cases[] = {
        {"AI Array Suite", 4, kNoErr},
        {"AI Array Suite", 3, headless::kSuiteVersionErr},
        {"AI Array Suite", 5, headless::kSuiteVersionErr},
        {"ai array suite", 4, headless::kUnknownSuiteErr},
        {"AI Array Suite ", 4, headless::kUnknownSuiteErr},
        {"AI Teapot Suite", 1, headless::kUnknownSuiteErr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " v" + std::to_string(c.version));
        Run(host_, [&](MessageData& message) {
            const void* sentinel = &c;
            const void* table = sentinel;
            EXPECT_EQ(message.basic->AcquireSuite(c.name, c.version, &table), c.expected);
            if (c.expected == kNoErr) {
                EXPECT_NE(table, nullptr);
                EXPECT_EQ(host_.Held().suites.at(c.name), 1);
                EXPECT_EQ(message.basic->ReleaseSuite(c.name, c.version), kNoErr);
            } else {
                EXPECT_EQ(table, sentinel);
                EXPECT_TRUE(host_.Held().suites.empty());
            }
            // A release without a matching acquisition is refused.
            EXPECT_NE(message.basic->ReleaseSuite(c.name, c.version), kNoErr);
            return kNoErr;
        });
        EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
    }
}

}  // namespace
