// The headless host's own behaviour: suites, the reference rule, validation
// of what the plug-in passes back, fault injection and the call log. Each test
// plays the plug-in through a small script entry that runs inside a message.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "runtime/SuiteTable.h"
#include "support/HostCalls.h"
#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

using testing_support::PluginHost;

using testing_support::Parameters;
using testing_support::SetParameters;

using headless::Document;
using headless::Host;
using headless::HostCall;

using testing_support::kInjected;

// The suites a script uses, acquired for it and released after it.
struct Suites {
    const BasicSuite* basic = nullptr;
    const ArraySuite* array = nullptr;
    const DictionarySuite* dictionary = nullptr;
    const MdMemorySuite* memory = nullptr;
    const BlocksSuite* blocks = nullptr;
    const PathSuite* path = nullptr;
    const PathStyleSuite* style = nullptr;
    const MatchingArtSuite* matching = nullptr;
    const ArtSuite* art = nullptr;
    const RandomSuite* random = nullptr;
};

std::function<HostErr(MessageData&)>* gScript = nullptr;

HostErr HOSTAPI ScriptEntry(const char*, const char*, void* message) {
    return (*gScript)(*static_cast<MessageData*>(message));
}

template <class Suite>
void Acquire(const BasicSuite* basic, const char* name, int32_t version, const Suite** out) {
    const void* table = nullptr;
    EXPECT_EQ(basic->AcquireSuite(name, version, &table), kNoErr) << name;
    *out = static_cast<const Suite*>(table);
}

struct Named {
    const char* name;
    int32_t version;
};
constexpr Named kScriptSuites[] = {
    {kArraySuite, kArraySuiteVersion},
    {kDictionarySuite, kDictionarySuiteVersion},
    {kMdMemorySuite, kMdMemorySuiteVersion},
    {kBlocksSuite, kBlocksSuiteVersion},
    {kPathSuite, kPathSuiteVersion},
    {kPathStyleSuite, kPathStyleSuiteVersion},
    {kMatchingArtSuite, kMatchingArtSuiteVersion},
    {kArtSuite, kArtSuiteVersion},
    {kRandomSuite, kRandomSuiteVersion},
};

class HostTest : public ::testing::Test {
protected:
    // Runs body as the plug-in would, inside one message of host.
    static HostErr Run(Host& host, std::function<HostErr(MessageData&)> body,
                       const char* caller = "Test") {
        gScript = &body;
        FilterMessage message{};
        const HostErr result = caller == std::string(kFilterCaller)
                                   ? host.FilterGetParameters(&ScriptEntry)
                                   : host.Send(&ScriptEntry, caller, "Run", &message.d);
        gScript = nullptr;
        return result;
    }

    // Runs body with the script's suites held; they are released afterwards.
    void WithSuites(const std::function<void(const Suites&)>& body) {
        Run(host_, [&](MessageData& message) {
            Suites s;
            s.basic = message.basic;
            Acquire(s.basic, kArraySuite, kArraySuiteVersion, &s.array);
            Acquire(s.basic, kDictionarySuite, kDictionarySuiteVersion, &s.dictionary);
            Acquire(s.basic, kMdMemorySuite, kMdMemorySuiteVersion, &s.memory);
            Acquire(s.basic, kBlocksSuite, kBlocksSuiteVersion, &s.blocks);
            Acquire(s.basic, kPathSuite, kPathSuiteVersion, &s.path);
            Acquire(s.basic, kPathStyleSuite, kPathStyleSuiteVersion, &s.style);
            Acquire(s.basic, kMatchingArtSuite, kMatchingArtSuiteVersion, &s.matching);
            Acquire(s.basic, kArtSuite, kArtSuiteVersion, &s.art);
            Acquire(s.basic, kRandomSuite, kRandomSuiteVersion, &s.random);
            body(s);
            host_.ClearFaults();
            for (const Named& suite : kScriptSuites)
                EXPECT_EQ(s.basic->ReleaseSuite(suite.name, suite.version), kNoErr) << suite.name;
            return kNoErr;
        });
    }

    // The handles of the selected paths, in document order.
    static std::vector<ArtHandle> Selected(const Suites& s) {
        MatchingArtSpec spec{kPathArt, kArtSelected, kArtSelected};
        ArtHandle** matches = nullptr;
        int32_t count = 0;
        EXPECT_EQ(s.matching->GetMatchingArt(&spec, 1, &matches, &count), kNoErr);
        std::vector<ArtHandle> art;
        if (matches == nullptr) return art;
        art.assign(*matches, *matches + count);
        EXPECT_EQ(s.memory->DisposeHandle(reinterpret_cast<HostHandle>(matches)), kNoErr);
        return art;
    }

    static ArrayRef NewArray(const Suites& s, std::initializer_list<float> values) {
        ArrayRef array = nullptr;
        EXPECT_EQ(s.array->CreateArray(&array), kNoErr);
        int32_t i = 0;
        for (float value : values) {
            EXPECT_EQ(s.array->InsertEntry(array, i), kNoErr);
            EXPECT_EQ(s.array->SetRealEntry(array, i++, value), kNoErr);
        }
        return array;
    }

    Document document_;
    PluginHost host_{document_, 1};
};

// --- Suites -------------------------------------------------------------------

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

// --- The reference rule -------------------------------------------------------

TEST_F(HostTest, AnArrayIsItsCreatorsUntilStored) {
    WithSuites([&](const Suites& s) {
        const ArrayRef array = NewArray(s, {1.0f});
        EXPECT_EQ(host_.Held().arrays, 1);
        EXPECT_EQ(s.array->Release(array), kNoErr);
        EXPECT_EQ(host_.Held().arrays, 0);
        EXPECT_EQ(s.array->Release(array), headless::kBadArrayErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, AStoredArrayIsTheDictionarysAndGoesWithIt) {
    WithSuites([&](const Suites& s) {
        DictionaryRef dict = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&dict), kNoErr);
        const DictKey key = s.dictionary->Key("1.0_2.0");
        const ArrayRef array = NewArray(s, {3.0f, 4.0f});
        ASSERT_EQ(s.dictionary->SetArrayEntry(dict, key, array), kNoErr);
        EXPECT_EQ(host_.Held().arrays, 0) << host_.Held().Describe();
        EXPECT_EQ(host_.Held().Describe().rfind("1 dictionary, AI Array Suite x1, ", 0), 0u)
            << host_.Held().Describe();

        // Fetched, it is the same array and still the dictionary's.
        ArrayRef fetched = nullptr;
        ASSERT_EQ(s.dictionary->GetArrayEntry(dict, key, &fetched), kNoErr);
        EXPECT_EQ(fetched, array);
        float value = 0.0f;
        EXPECT_EQ(s.array->GetRealEntry(fetched, 1, &value), kNoErr);
        EXPECT_EQ(value, 4.0f);
        EXPECT_EQ(s.array->Release(fetched), headless::kNotOwnerErr);
        // Nor can it be handed over a second time, here or elsewhere.
        DictionaryRef other = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&other), kNoErr);
        EXPECT_EQ(s.dictionary->SetArrayEntry(other, key, array), headless::kNotOwnerErr);
        EXPECT_EQ(s.dictionary->SetArrayEntry(dict, s.dictionary->Key("x"), array),
                  headless::kNotOwnerErr);
        EXPECT_EQ(s.dictionary->SetArrayEntry(dict, key, array), headless::kNotOwnerErr);
        EXPECT_FALSE(s.dictionary->IsKnown(other, key));

        EXPECT_EQ(s.dictionary->Release(dict), kNoErr);
        EXPECT_EQ(s.array->GetRealEntry(array, 0, &value), headless::kBadArrayErr);
        EXPECT_EQ(s.dictionary->Release(other), kNoErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
    EXPECT_EQ(host_.KeyCount(), 2);  // keys are the host's, not held
}

TEST_F(HostTest, ReplacingAnEntryFreesTheArrayItHeld) {
    WithSuites([&](const Suites& s) {
        DictionaryRef dict = nullptr;
        ASSERT_EQ(s.dictionary->CreateDictionary(&dict), kNoErr);
        const DictKey key = s.dictionary->Key("k");
        const ArrayRef first = NewArray(s, {1.0f});
        const ArrayRef second = NewArray(s, {2.0f});
        ASSERT_EQ(s.dictionary->SetArrayEntry(dict, key, first), kNoErr);
        ASSERT_EQ(s.dictionary->SetArrayEntry(dict, key, second), kNoErr);
        float value = 0.0f;
        EXPECT_EQ(s.array->GetRealEntry(first, 0, &value), headless::kBadArrayErr);
        ArrayRef fetched = nullptr;
        ASSERT_EQ(s.dictionary->GetArrayEntry(dict, key, &fetched), kNoErr);
        EXPECT_EQ(fetched, second);
        EXPECT_EQ(s.dictionary->Release(dict), kNoErr);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

TEST_F(HostTest, AFailedStoreLeavesTheArrayWithItsCaller) {
    const struct {
        const char* name;
        bool inject;  // otherwise the store fails on a key the host never made
    } cases[] = {{"injected", true}, {"bad key", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WithSuites([&](const Suites& s) {
            DictionaryRef dict = nullptr;
            ASSERT_EQ(s.dictionary->CreateDictionary(&dict), kNoErr);
            const ArrayRef array = NewArray(s, {1.0f});
            DictKey key = s.dictionary->Key("k");
            if (c.inject)
                host_.FailOperation("Dictionary.SetArrayEntry", kInjected);
            else
                key = reinterpret_cast<DictKey>(&dict);
            EXPECT_NE(s.dictionary->SetArrayEntry(dict, key, array), kNoErr);
            EXPECT_FALSE(s.dictionary->IsKnown(dict, key));
            EXPECT_EQ(host_.Held().arrays, 1);
            EXPECT_EQ(s.dictionary->Release(dict), kNoErr);
            EXPECT_EQ(s.array->Release(array), kNoErr);  // still the caller's to give back
        });
        EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
    }
}

// --- Validation -----------------------------------------------------------------

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

// --- Parameters handle ----------------------------------------------------------

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

// --- Fault injection --------------------------------------------------------------

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

// --- Call log and the current host ------------------------------------------------

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

}  // namespace
