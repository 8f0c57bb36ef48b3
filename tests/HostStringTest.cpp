// The host string wrappers (ai::UniString, ToPascalInPlace) over the headless
// host's Unicode strings, and the string suite's own checks. The wrappers
// run inside a host message with the plug-in's suites held, as in a handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "headless/Host.h"
#include "headless/HostErrors.h"
#include "hoststring/PascalString.h"
#include "hoststring/UniString.h"
#include "runtime/PluginGlobals.h"
#include "runtime/SuiteTable.h"
#include "support/HostScript.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Document;
using headless::Host;
using testing_support::PluginHost;
using testing_support::RunInMessage;

class HostString : public ::testing::Test {
protected:
    // Runs body with the plug-in's suites held, as a handler does; an
    // ai::Error it raises comes back as its code.
    HostErr InHandler(const std::function<void()>& body) {
        HostErr code = kNoErr;
        const std::function<void(MessageData&)> frame = [&](MessageData& message) {
            EXPECT_EQ(AcquireSuites(message.basic), kNoErr);
            try {
                body();
            } catch (const ai::Error& error) {
                code = error.code();
            }
            ReleaseSuites(message.basic);
        };
        RunInMessage(host_, frame);
        return code;
    }

    // Runs body with the string and blocks suites alone, as any caller may.
    void WithSuites(
        const std::function<void(const UnicodeStringSuite&, const BlocksSuite&)>& body) {
        const std::function<void(MessageData&)> frame = [&](MessageData& message) {
            const void* strings = nullptr;
            const void* blocks = nullptr;
            ASSERT_EQ(message.basic->AcquireSuite(kUnicodeStringSuite, kUnicodeStringSuiteVersion,
                                                  &strings),
                      kNoErr);
            ASSERT_EQ(message.basic->AcquireSuite(kBlocksSuite, kBlocksSuiteVersion, &blocks),
                      kNoErr);
            body(*static_cast<const UnicodeStringSuite*>(strings),
                 *static_cast<const BlocksSuite*>(blocks));
            message.basic->ReleaseSuite(kBlocksSuite, kBlocksSuiteVersion);
            message.basic->ReleaseSuite(kUnicodeStringSuite, kUnicodeStringSuiteVersion);
        };
        RunInMessage(host_, frame);
    }

    int StringCalls() const {
        int n = 0;
        for (const auto& call : host_.Calls()) n += call.op.rfind("UnicodeString.", 0) == 0;
        return n;
    }

    void ExpectNothingHeld() const {
        EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
        EXPECT_TRUE(host_.Problems().empty()) << host_.Problems().front();
    }

    Document document_;
    PluginHost host_{document_, 1};
};

// A Pascal buffer of 66 bytes: filled with '#', then the zero-terminated text.
std::vector<unsigned char> Buffer(const std::string& text) {
    std::vector<unsigned char> buffer(66, '#');
    std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
    return buffer;
}

TEST_F(HostString, ToPascalInPlaceWritesTheLengthByteAndTheSingleByteText) {
    const struct {
        const char* text;   // zero-terminated, UTF-8
        std::string bytes;  // the Pascal text, single-byte
    } cases[] = {
        {"tovi plug-ins", "tovi plug-ins"},
        {"Pelvaro", "Pelvaro"},
        {"K\xC3\xB6ln", "K\xF6ln"},  // two UTF-8 bytes become one
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<unsigned char> before = Buffer(c.text);
        std::vector<unsigned char> buffer = before;
        ASSERT_EQ(InHandler([&] { ToPascalInPlace(reinterpret_cast<char*>(buffer.data()), 65); }),
                  kNoErr);
        EXPECT_EQ(buffer[0], c.bytes.size());
        EXPECT_EQ(std::string(buffer.begin() + 1, buffer.begin() + 1 + c.bytes.size()), c.bytes);
        // No terminator is written: the bytes after the text are the old ones.
        const auto after = static_cast<std::ptrdiff_t>(c.bytes.size() + 1);
        EXPECT_TRUE(std::equal(buffer.begin() + after, buffer.end(), before.begin() + after));
        ExpectNothingHeld();
    }
}

TEST_F(HostString, ANullTextMakesNoHostCallAndDestroysNothing) {
    ASSERT_EQ(InHandler([] {
                  const ai::UniString none(nullptr, kPlatformEncoding);
                  EXPECT_EQ(none.ref(), nullptr);
              }),
              kNoErr);
    EXPECT_EQ(StringCalls(), 0);
    ExpectNothingHeld();
}

TEST_F(HostString, ShorteningDropsWholeCharactersFromTheEnd) {
    // a (1 byte), e acute (2), euro sign (3), an emoji (4), b (1): 11 bytes.
    const char* text =
        "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"
        "b";
    const struct {
        uint32_t maximum;
        std::string kept;
    } cases[] = {
        {11, text},
        {10, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
        {9, "a\xC3\xA9\xE2\x82\xAC"},
        {6, "a\xC3\xA9\xE2\x82\xAC"},
        {5, "a\xC3\xA9"},
        {2, "a"},
        {0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("maximum " + std::to_string(c.maximum));
        std::vector<unsigned char> target(16, '#');
        uint32_t full = 0;
        ASSERT_EQ(InHandler([&] {
                      const ai::UniString source(text, kPlatformEncoding);
                      full =
                          source.GetToBuffer(ai::PStr(target.data()), c.maximum, kPlatformEncoding);
                  }),
                  kNoErr);
        EXPECT_EQ(full, 11u);  // the length before shortening
        EXPECT_EQ(target[0], c.kept.size());
        EXPECT_EQ(std::string(target.begin() + 1, target.begin() + 1 + c.kept.size()), c.kept);
        EXPECT_EQ(std::string(target.begin() + 1 + c.kept.size(), target.end()),
                  std::string(15 - c.kept.size(), '#'));
        ExpectNothingHeld();
    }
}

TEST_F(HostString, FailingStringOperationsRaiseTheHostCodeAndLeaveNothing) {
    const struct {
        const char* text;
        HostErr code;
    } cases[] = {
        {"caf\xC3", headless::kBadTextErr},  // UTF-8 cut short
        {"price \xE2\x82\xAC"
         "5",
         headless::kUnencodableErr},  // no euro sign in one byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(headless::DescribeHostErr(c.code));
        std::vector<unsigned char> buffer = Buffer(c.text);
        const std::vector<unsigned char> before = buffer;
        EXPECT_EQ(InHandler([&] { ToPascalInPlace(reinterpret_cast<char*>(buffer.data()), 65); }),
                  c.code);
        EXPECT_EQ(buffer, before);
        ExpectNothingHeld();
    }
}

// A string suite whose GetAs fills the buffer as the host does and then
// answers an error anyway, as a host may when it fails late.
const UnicodeStringSuite* gRealStrings = nullptr;
constexpr HostErr kLateFailure = FourCharCode('L', 'A', 'T', 'E');

HostErr HOSTAPI GetAsThenFail(const UniStringRef* str, int32_t encoding, HostByteBuffer* buffer,
                              uint32_t* count) {
    const HostErr error = gRealStrings->GetAs(str, encoding, buffer, count);
    return error != kNoErr ? error : kLateFailure;
}

TEST_F(HostString, GetAsFreesTheHostBlockOnEveryWayOut) {
    std::string text;
    ASSERT_EQ(InHandler([&] {
                  text = ai::UniString("Pelvaro", kPlatformEncoding).GetAs(kPascalEncoding);
              }),
              kNoErr);
    EXPECT_EQ(text, "Pelvaro");
    ASSERT_EQ(InHandler([&] { text = ai::UniString("", kPlatformEncoding).GetAs(0); }), kNoErr);
    EXPECT_EQ(text, "");
    ExpectNothingHeld();

    EXPECT_EQ(InHandler([&] {
                  const ai::UniString source("Pelvaro", kPlatformEncoding);
                  gRealStrings = sUnicodeString;
                  UnicodeStringSuite failing = *sUnicodeString;
                  failing.GetAs = &GetAsThenFail;
                  sUnicodeString = &failing;
                  try {
                      source.GetAs(kPascalEncoding);
                  } catch (...) {
                      sUnicodeString = gRealStrings;
                      throw;
                  }
                  sUnicodeString = gRealStrings;
              }),
              kLateFailure);
    ExpectNothingHeld();  // the block the failed call handed out was freed too
}

TEST_F(HostString, TheSuiteDecodesStrictUtf8AndLatin1) {
    const struct {
        const char* name;
        std::string bytes;
        int32_t encoding;
        HostErr code;
        uint32_t length;
    } cases[] = {
        {"four-byte character", "\xF0\x9F\x98\x80", 0, kNoErr, 1},
        {"every byte in Latin-1", std::string("\x80\xFF\x00", 3), 1, kNoErr, 3},
        {"cut short", "\xE2\x82", 0, headless::kBadTextErr, 0},
        {"stray continuation", "a\x80", 0, headless::kBadTextErr, 0},
        {"overlong", "\xC0\xAF", 0, headless::kBadTextErr, 0},
        {"surrogate", "\xED\xA0\x80", 0, headless::kBadTextErr, 0},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 0, headless::kBadTextErr, 0},
        {"unknown encoding", "abc", 7, headless::kBadEncodingErr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WithSuites([&](const UnicodeStringSuite& strings, const BlocksSuite& blocks) {
            UniStringRef str = nullptr;
            EXPECT_EQ(strings.Initialize(&str, c.bytes.data(),
                                         static_cast<uint32_t>(c.bytes.size()), c.encoding),
                      c.code);
            if (c.code != kNoErr) {
                EXPECT_EQ(str, nullptr);
                return;
            }
            EXPECT_EQ(strings.Length(&str), c.length);
            HostByteBuffer buffer{0, nullptr};
            uint32_t count = 0;
            ASSERT_EQ(strings.GetAs(&str, c.encoding, &buffer, &count), kNoErr);
            EXPECT_EQ(std::string(buffer.block, count), c.bytes);
            EXPECT_EQ(host_.Held().strings, 1);
            EXPECT_EQ(host_.Held().blocks, 1);  // the caller frees GetAs's block
            strings.Destroy(&str);
            EXPECT_EQ(str, nullptr);
            EXPECT_EQ(blocks.FreeBlock(buffer.block), kNoErr);
        });
        ExpectNothingHeld();
    }
}

TEST_F(HostString, TheSuiteChecksWhatItIsGiven) {
    WithSuites([&](const UnicodeStringSuite& strings, const BlocksSuite&) {
        UniStringRef str = nullptr;
        ASSERT_EQ(strings.Initialize(&str, "abc", 3, kPlatformEncoding), kNoErr);
        EXPECT_EQ(strings.Erase(&str, 4, 1), headless::kRangeErr);
        EXPECT_EQ(strings.Erase(&str, 1, 99), kNoErr);  // a count past the end stops there
        EXPECT_EQ(strings.Length(&str), 1u);
        HostByteBuffer taken{0, reinterpret_cast<char*>(&str)};
        uint32_t count = 0;
        EXPECT_EQ(strings.GetAs(&str, kPlatformEncoding, &taken, &count),
                  headless::kBadParameterErr);  // a block already there would be lost

        UniStringRef copy = nullptr;
        ASSERT_EQ(strings.Assign(&copy, &str), kNoErr);  // assigning into null makes a string
        const UniStringRef stale = copy;
        strings.Destroy(&copy);
        UniStringRef gone = stale;
        EXPECT_EQ(strings.Assign(&str, &gone), headless::kBadStringErr);
        EXPECT_EQ(strings.InitializeCopy(&copy, &gone), headless::kBadStringErr);
        EXPECT_EQ(strings.GetAs(&gone, kPlatformEncoding, &taken, &count),
                  headless::kBadParameterErr);
        HostByteBuffer empty{0, nullptr};
        EXPECT_EQ(strings.GetAs(&gone, kPlatformEncoding, &empty, &count), headless::kBadStringErr);
        EXPECT_EQ(strings.Erase(&gone, 0, 1), headless::kBadStringErr);
        EXPECT_EQ(host_.Problems().size(), 0u);
        EXPECT_EQ(strings.Length(&gone), 0u);  // void and value calls note the misuse
        strings.Destroy(&gone);
        EXPECT_EQ(host_.Problems().size(), 2u);
        strings.Destroy(&str);
    });
    EXPECT_TRUE(host_.Held().Empty()) << host_.Held().Describe();
}

}  // namespace
