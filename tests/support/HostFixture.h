// The headless host tested on its own: a test plays the plug-in through a
// small script entry that runs inside one message, with the suites it needs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "headless/Host.h"
#include "hostinterface/HostInterface.h"
#include "support/HostScript.h"
#include "support/PluginUnderTest.h"

namespace testing_support {

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
inline constexpr Named kScriptSuites[] = {
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
    static HostErr Run(headless::Host& host, const Script& body, const char* caller = "Test") {
        return RunScript(host, body, caller);
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

    headless::Document document_;
    PluginHost host_{document_, 1};
};

}  // namespace testing_support
