// The reference rule of the headless host: an array is its creator's until a
// dictionary takes it, and goes with the dictionary.
#include <gtest/gtest.h>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "support/HostCalls.h"
#include "support/HostFixture.h"

namespace {

using testing_support::HostTest;
using testing_support::kInjected;
using testing_support::Suites;

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

}  // namespace
