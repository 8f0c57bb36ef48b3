// Fault injection in the headless host: the n-th call, a named operation,
// refused suites; a failed call leaves its outputs and the host untouched.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "support/HostCalls.h"
#include "support/HostFixture.h"

namespace {

using headless::Document;
using headless::HostCall;
using testing_support::HostTest;
using testing_support::kInjected;
using testing_support::Suites;

TEST_F(HostTest, TheNthFallibleCallFailsAndValueCallsAreNotCounted) {
    WithSuites([&](const Suites& s) {
        host_.FailNthCall(2, kInjected);
        ArrayRef array = nullptr;
        EXPECT_EQ(s.array->CreateArray(&array), kNoErr);  // 1
        s.dictionary->Key("not counted");
        s.random->FloatRnd();
        EXPECT_EQ(s.array->InsertEntry(array, 0), kInjected);            // 2
        EXPECT_EQ(s.array->InsertEntry(array, 1), headless::kRangeErr);  // nothing was inserted
        EXPECT_EQ(s.array->InsertEntry(array, 0), kNoErr);
        EXPECT_EQ(s.array->Release(array), kNoErr);

        const std::vector<HostCall>& calls = host_.Calls();
        const auto failed =
            std::find_if(calls.begin(), calls.end(), [](const HostCall& c) { return c.injected; });
        ASSERT_NE(failed, calls.end());
        EXPECT_EQ(failed->op, "Array.InsertEntry");
        EXPECT_EQ(failed->result, kInjected);
        EXPECT_EQ(
            std::count_if(calls.begin(), calls.end(), [](const HostCall& c) { return c.injected; }),
            1);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, ANamedOperationFailsEveryTime) {
    WithSuites([&](const Suites& s) {
        host_.FailOperation("Array.CreateArray", kInjected);
        for (int i = 0; i < 3; ++i) {
            ArrayRef array = nullptr;
            EXPECT_EQ(s.array->CreateArray(&array), kInjected);
            EXPECT_EQ(array, nullptr);
        }
        DictionaryRef dict = nullptr;
        EXPECT_EQ(s.dictionary->CreateDictionary(&dict), kNoErr);
        EXPECT_EQ(s.dictionary->Release(dict), kNoErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, FaultsNamingNothingAreRejected) {
    EXPECT_THROW(host_.FailOperation("Dictionary.SetArrayEntery", kInjected),
                 std::invalid_argument);
    EXPECT_THROW(host_.FailOperation("Dictionary.Key", kInjected), std::invalid_argument);
    EXPECT_THROW(host_.FailOperation("Array.CreateArray", kNoErr), std::invalid_argument);
    EXPECT_THROW(host_.FailNthCall(0, kInjected), std::invalid_argument);
    EXPECT_THROW(host_.RefuseAcquire("AI Path", kInjected), std::invalid_argument);
    EXPECT_THROW(host_.NullTable("Path"), std::invalid_argument);
    EXPECT_NO_THROW(host_.FailOperation("Basic.AcquireSuite", kInjected));
}

TEST_F(HostTest, RefusedAcquireAndReleaseAndNullTables) {
    host_.RefuseAcquire(kPathSuite, kInjected);
    host_.RefuseRelease(kArraySuite, kInjected);
    host_.NullTable(kDictionarySuite);
    Run(host_, [&](MessageData& message) {
        const BasicSuite* basic = message.basic;
        const void* sentinel = &message;
        const void* table = sentinel;
        EXPECT_EQ(basic->AcquireSuite(kPathSuite, kPathSuiteVersion, &table), kInjected);
        EXPECT_EQ(table, sentinel);

        EXPECT_EQ(basic->AcquireSuite(kDictionarySuite, kDictionarySuiteVersion, &table), kNoErr);
        EXPECT_EQ(table, nullptr);  // granted, but nothing to hold or give back
        EXPECT_EQ(basic->ReleaseSuite(kDictionarySuite, kDictionarySuiteVersion),
                  headless::kSuiteNotHeldErr);

        EXPECT_EQ(basic->AcquireSuite(kArraySuite, kArraySuiteVersion, &table), kNoErr);
        EXPECT_NE(table, nullptr);
        EXPECT_EQ(basic->ReleaseSuite(kArraySuite, kArraySuiteVersion), kInjected);
        EXPECT_EQ(host_.Held().suites, (std::map<std::string, int>{{kArraySuite, 1}}));
        host_.ClearFaults();
        EXPECT_EQ(basic->ReleaseSuite(kArraySuite, kArraySuiteVersion), kNoErr);
        return kNoErr;
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, AFailedCallLeavesItsOutputsAndTheHostUntouched) {
    document_.art = {testing_support::Square(0, 0, 10, true)};
    const Document before = document_;
    WithSuites([&](const Suites& s) {
        const ArtHandle art = Selected(s).at(0);
        const ArrayRef array = NewArray(s, {5.0f});
        DictionaryRef dict = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&dict), kNoErr);
        const DictKey key = s.dictionary->Key("k");
        ASSERT_EQ(s.dictionary->SetArrayEntry(dict, key, NewArray(s, {1.0f})), kNoErr);
        const headless::Holdings held = host_.Held();

        // Each output starts as a sentinel that a failed call must not touch.
        void* sentinel = &dict;
        const struct {
            const char* op;
            std::function<bool()> failsCleanly;
        } cases[] = {
            {"Array.CreateArray",
             [&] {
                 auto out = static_cast<ArrayRef>(sentinel);
                 return s.array->CreateArray(&out) == kInjected && out == sentinel;
             }},
            {"Array.GetRealEntry",
             [&] {
                 float out = -1.0f;
                 return s.array->GetRealEntry(array, 0, &out) == kInjected && out == -1.0f;
             }},
            {"Array.SetRealEntry",
             [&] {
                 float out = 0.0f;
                 return s.array->SetRealEntry(array, 0, 9.0f) == kInjected &&
                        s.array->GetRealEntry(array, 0, &out) == kNoErr && out == 5.0f;
             }},
            {"Dictionary.CreateDictionary",
             [&] {
                 auto out = static_cast<DictionaryRef>(sentinel);
                 return s.dictionary->CreateDictionary(&out) == kInjected && out == sentinel;
             }},
            {"Dictionary.GetArrayEntry",
             [&] {
                 auto out = static_cast<ArrayRef>(sentinel);
                 return s.dictionary->GetArrayEntry(dict, key, &out) == kInjected &&
                        out == sentinel;
             }},
            {"Dictionary.Release",
             [&] {
                 return s.dictionary->Release(dict) == kInjected &&
                        s.dictionary->IsKnown(dict, key);
             }},
            {"MdMemory.NewHandle",
             [&] {
                 auto out = static_cast<HostHandle>(sentinel);
                 return s.memory->NewHandle(4, &out) == kInjected && out == sentinel;
             }},
            {"Basic.AllocateBlock",
             [&] {
                 void* out = sentinel;
                 return s.basic->AllocateBlock(4, &out) == kInjected && out == sentinel;
             }},
            {"MatchingArt.GetMatchingArt",
             [&] {
                 MatchingArtSpec spec{kPathArt, kArtSelected, kArtSelected};
                 auto out = static_cast<ArtHandle**>(sentinel);
                 int32_t count = -1;
                 return s.matching->GetMatchingArt(&spec, 1, &out, &count) == kInjected &&
                        out == sentinel && count == -1;
             }},
            {"Path.GetPathSegmentCount",
             [&] {
                 int16_t out = -1;
                 return s.path->GetPathSegmentCount(art, &out) == kInjected && out == -1;
             }},
            {"Path.SetPathSegments",
             [&] {
                 const PathSegment segment{};
                 return s.path->SetPathSegments(art, 0, 1, &segment) == kInjected;
             }},
            {"PathStyle.SetPathStyle",
             [&] {
                 const PathStyle style{};
                 return s.style->SetPathStyle(art, &style) == kInjected;
             }},
            {"Art.GetArtType",
             [&] {
                 int16_t out = -1;
                 return s.art->GetArtType(art, &out) == kInjected && out == -1;
             }},
        };
        for (const auto& c : cases) {
            host_.FailNthCall(1, kInjected);
            EXPECT_TRUE(c.failsCleanly()) << c.op << " by position";
            host_.ClearFaults();
            host_.FailOperation(c.op, kInjected);
            EXPECT_TRUE(c.failsCleanly()) << c.op << " by name";
            host_.ClearFaults();
            EXPECT_EQ(host_.Held().Describe(), held.Describe()) << c.op;
        }
        EXPECT_EQ(s.dictionary->Release(dict), kNoErr);
        EXPECT_EQ(s.array->Release(array), kNoErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
    EXPECT_EQ(std::memcmp(before.art[0].segments.data(), document_.art[0].segments.data(),
                          before.art[0].segments.size() * sizeof(PathSegment)),
              0);
    EXPECT_EQ(std::memcmp(&before.art[0].style, &document_.art[0].style, sizeof(PathStyle)), 0);
}

}  // namespace
