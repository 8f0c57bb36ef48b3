// The headless host checks what the plug-in passes back: unknown or freed
// objects, indexes and ranges; and it serves the selection and its random source.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "support/HostFixture.h"

namespace {

using headless::Document;
using headless::Host;
using testing_support::Acquire;
using testing_support::HostTest;
using testing_support::PluginHost;
using testing_support::Suites;

TEST_F(HostTest, UnknownOrFreedObjectsAreReportedNotUsed) {
    document_.art = {testing_support::Square(0, 0, 10, true)};
    WithSuites([&](const Suites& s) {
        ArrayRef released = NewArray(s, {});
        ASSERT_EQ(s.array->Release(released), kNoErr);
        DictionaryRef gone = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&gone), kNoErr);
        ASSERT_EQ(s.dictionary->Release(gone), kNoErr);
        DictionaryRef live = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&live), kNoErr);
        HostHandle disposed = nullptr;
        ASSERT_EQ(s.memory->NewHandle(8, &disposed), kNoErr);
        ASSERT_EQ(s.memory->DisposeHandle(disposed), kNoErr);
        void* freed = nullptr;
        ASSERT_EQ(s.basic->AllocateBlock(16, &freed), kNoErr);
        ASSERT_EQ(s.blocks->FreeBlock(freed), kNoErr);  // either suite frees a block
        void* live_block = nullptr;
        ASSERT_EQ(s.blocks->AllocateBlock(16, &live_block), kNoErr);

        int local = 0;
        const auto invented = [&local]<class Ref>(Ref) { return reinterpret_cast<Ref>(&local); };
        const ArrayRef bogusArray = invented(ArrayRef{});
        const DictKey bogusKey = invented(DictKey{});
        const ArtHandle bogusArt = invented(ArtHandle{});
        const DictKey key = s.dictionary->Key("k");
        float value = 0.0f;
        int16_t count = 0;
        PathSegment segment{};
        PathStyle style{};
        ArrayRef out = nullptr;

        const struct {
            const char* what;
            std::function<HostErr()> call;
            HostErr expected;
        } cases[] = {
            {"release a released array", [&] { return s.array->Release(released); },
             headless::kBadArrayErr},
            {"insert into an invented array", [&] { return s.array->InsertEntry(bogusArray, 0); },
             headless::kBadArrayErr},
            {"read a null array", [&] { return s.array->GetRealEntry(nullptr, 0, &value); },
             headless::kBadArrayErr},
            {"write a released array", [&] { return s.array->SetRealEntry(released, 0, 1.0f); },
             headless::kBadArrayErr},
            {"release a released dictionary", [&] { return s.dictionary->Release(gone); },
             headless::kBadDictionaryErr},
            {"read a released dictionary",
             [&] { return s.dictionary->GetArrayEntry(gone, key, &out); },
             headless::kBadDictionaryErr},
            {"store an invented array",
             [&] { return s.dictionary->SetArrayEntry(live, key, bogusArray); },
             headless::kBadArrayErr},
            {"store under an invented key",
             [&] { return s.dictionary->SetArrayEntry(live, bogusKey, nullptr); },
             headless::kBadKeyErr},
            {"read a missing entry", [&] { return s.dictionary->GetArrayEntry(live, key, &out); },
             headless::kNoEntryErr},
            {"dispose a disposed handle", [&] { return s.memory->DisposeHandle(disposed); },
             headless::kBadHandleErr},
            {"dispose an invented handle",
             [&] { return s.memory->DisposeHandle(reinterpret_cast<HostHandle>(&local)); },
             headless::kBadHandleErr},
            {"free a freed block", [&] { return s.basic->FreeBlock(freed); },
             headless::kBadBlockErr},
            {"free inside a block",
             [&] { return s.basic->FreeBlock(static_cast<char*>(live_block) + 1); },
             headless::kBadBlockErr},
            {"free a null block", [&] { return s.blocks->FreeBlock(nullptr); },
             headless::kBadBlockErr},
            {"count an invented path",
             [&] { return s.path->GetPathSegmentCount(bogusArt, &count); }, headless::kBadArtErr},
            {"read an invented path",
             [&] { return s.path->GetPathSegments(bogusArt, 0, 1, &segment); },
             headless::kBadArtErr},
            {"style of an invented path", [&] { return s.style->GetPathStyle(bogusArt, &style); },
             headless::kBadArtErr},
            {"type of an invented art",
             [&] {
                 int16_t type = 0;
                 return s.art->GetArtType(bogusArt, &type);
             },
             headless::kBadArtErr},
        };
        for (const auto& c : cases) EXPECT_EQ(c.call(), c.expected) << c.what;
        EXPECT_EQ(out, nullptr);
        EXPECT_FALSE(s.dictionary->IsKnown(gone, key));
        EXPECT_FALSE(s.dictionary->IsKnown(live, bogusKey));
        EXPECT_EQ(s.dictionary->Release(live), kNoErr);
        EXPECT_EQ(s.blocks->FreeBlock(live_block), kNoErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, ArrayEntriesAreBoundsAndKindChecked) {
    WithSuites([&](const Suites& s) {
        ArrayRef array = nullptr;
        ASSERT_EQ(s.array->CreateArray(&array), kNoErr);
        EXPECT_EQ(s.array->InsertEntry(array, 1), headless::kRangeErr);
        EXPECT_EQ(s.array->InsertEntry(array, -1), headless::kRangeErr);
        ASSERT_EQ(s.array->InsertEntry(array, 0), kNoErr);
        float value = 7.0f;
        EXPECT_EQ(s.array->GetRealEntry(array, 0, &value), headless::kWrongKindErr);
        EXPECT_EQ(value, 7.0f);
        EXPECT_EQ(s.array->SetRealEntry(array, 1, 1.0f), headless::kRangeErr);
        ASSERT_EQ(s.array->SetRealEntry(array, 0, 2.5f), kNoErr);
        ASSERT_EQ(s.array->InsertEntry(array, 0), kNoErr);  // before: the real moves to 1
        EXPECT_EQ(s.array->GetRealEntry(array, 1, &value), kNoErr);
        EXPECT_EQ(value, 2.5f);
        EXPECT_EQ(s.array->GetRealEntry(array, 2, &value), headless::kRangeErr);
        EXPECT_EQ(s.array->GetRealEntry(array, 1, nullptr), headless::kBadParameterErr);
        EXPECT_EQ(s.array->Release(array), kNoErr);
    });
}

TEST_F(HostTest, PathSegmentRangesAreChecked) {
    document_.art = {testing_support::Square(0, 0, 10, true)};
    const Document before = document_;
    WithSuites([&](const Suites& s) {
        const std::vector<ArtHandle> art = Selected(s);
        ASSERT_EQ(art.size(), 1u);
        int16_t count = 0;
        ASSERT_EQ(s.path->GetPathSegmentCount(art[0], &count), kNoErr);
        EXPECT_EQ(count, 4);

        const struct {
            int16_t first, count;
            HostErr expected;
        } cases[] = {
            {0, 4, kNoErr},
            {3, 1, kNoErr},
            {4, 0, kNoErr},
            {4, 1, headless::kRangeErr},
            {-1, 1, headless::kRangeErr},
            {0, -1, headless::kRangeErr},
            {2, 3, headless::kRangeErr},
            {32767, 32767, headless::kRangeErr},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.count));
            PathSegment read[4] = {};
            const PathSegment zeros[4] = {};
            EXPECT_EQ(s.path->GetPathSegments(art[0], c.first, c.count, read), c.expected);
            EXPECT_EQ(s.path->SetPathSegments(art[0], c.first, c.count, zeros), c.expected);
        }
        EXPECT_EQ(s.path->GetPathSegments(art[0], 0, 1, nullptr), headless::kBadParameterErr);
    });
    // The successful writes wrote zeros into the whole path; nothing else did.
    ASSERT_EQ(document_.art[0].segments.size(), before.art[0].segments.size());
    for (const PathSegment& segment : document_.art[0].segments) EXPECT_EQ(segment.p.h, 0.0f);
}

TEST_F(HostTest, MatchingArtFindsSelectedPathsOnlyAndHandsOutAHandle) {
    using testing_support::Square;
    document_.art = {Square(0, 0, 1), Square(1, 0, 1), Square(2, 0, 1), Square(3, 0, 1)};
    document_.art[1].selected = false;
    document_.art[2].type = 5;  // not a path: kept, never matched
    WithSuites([&](const Suites& s) {
        MatchingArtSpec spec{kPathArt, kArtSelected, kArtSelected};
        ArtHandle** matches = nullptr;
        int32_t count = 0;
        ASSERT_EQ(s.matching->GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(host_.Held().handles, 1);
        const float expectedX[] = {0.0f, 3.0f};
        for (int32_t i = 0; i < count; ++i) {
            PathSegment segment{};
            ASSERT_EQ(s.path->GetPathSegments((*matches)[i], 0, 1, &segment), kNoErr);
            EXPECT_EQ(segment.p.h, expectedX[i]);
        }
        EXPECT_EQ(s.memory->DisposeHandle(reinterpret_cast<HostHandle>(matches)), kNoErr);

        // Unselected paths only: nothing matches, and no handle comes back.
        MatchingArtSpec unselected{kPathArt, kArtSelected, 0};
        ASSERT_EQ(s.matching->GetMatchingArt(&unselected, 1, &matches, &count), kNoErr);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(s.memory->DisposeHandle(reinterpret_cast<HostHandle>(matches)), kNoErr);
        for (auto& art : document_.art) art.selected = false;
        ASSERT_EQ(s.matching->GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
        EXPECT_EQ(matches, nullptr);
        EXPECT_EQ(count, 0);
        MatchingArtSpec other{5, 0, 0};
        ASSERT_EQ(s.matching->GetMatchingArt(&other, 1, &matches, &count), kNoErr);
        EXPECT_EQ(count, 0);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, RandomNumbersFollowTheSeededEngine) {
    Document other;
    PluginHost a(document_, 42);
    PluginHost b(other, 42);
    std::mt19937 engine(42);
    for (Host* host : {&a, &b}) {
        Run(*host, [&](MessageData& message) {
            const RandomSuite* random = nullptr;
            Acquire(message.basic, kRandomSuite, kRandomSuiteVersion, &random);
            std::mt19937 expected(42);
            for (int i = 0; i < 100; ++i) {
                const float r = random->FloatRnd();
                EXPECT_EQ(r, static_cast<float>(expected() >> 8) / 16777216.0f);
                EXPECT_GE(r, 0.0f);
                EXPECT_LT(r, 1.0f);
            }
            return message.basic->ReleaseSuite(kRandomSuite, kRandomSuiteVersion);
        });
    }
}

}  // namespace
