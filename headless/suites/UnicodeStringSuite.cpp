// The Unicode string suite: host string objects of code points, the
// plug-in's from Initialize (or a first Assign) until Destroy. GetAs hands
// out a block that the caller frees through the blocks suite.
#include <algorithm>
#include <string>

#include "headless/HostCore.h"
#include "headless/UniStrings.h"
#include "headless/suites/SuiteList.h"

namespace headless::detail {

namespace {

constexpr Op kInitialize{"UnicodeString.Initialize", true};
constexpr Op kInitializeCopy{"UnicodeString.InitializeCopy", true};
constexpr Op kDestroy{"UnicodeString.Destroy", false};
constexpr Op kAssign{"UnicodeString.Assign", true};
constexpr Op kLength{"UnicodeString.Length", false};
constexpr Op kErase{"UnicodeString.Erase", true};
constexpr Op kGetAs{"UnicodeString.GetAs", true};

constexpr uint32_t kToTheEnd = 0xFFFFFFFFu;

// The text of the string behind *str for the log, or what is wrong with it.
std::string Describe(const UniStringRef* str) {
    if (str == nullptr) return "(null)";
    if (*str == nullptr) return "(no string)";
    HostCore* core = Current();
    const StringObject* object = core != nullptr ? FindString(*core, *str) : nullptr;
    if (object == nullptr) return "(unknown string)";
    return "\"" + Utf8Text(object->text) + "\"";
}

std::string BytesDetail(const char* bytes, uint32_t count, int32_t encoding) {
    std::string detail =
        "encoding " + std::to_string(encoding) + ", " + std::to_string(count) + " bytes";
    if (bytes != nullptr)
        detail += " \"" + std::string(bytes, std::min<uint32_t>(count, 80)) + "\"";
    return detail;
}

void Problem(HostCore& host, const char* op, const std::string& what) {
    host.problems.push_back(std::string(op) + " was given " + what + "; it did nothing");
}

UniStringRef NewString(HostCore& host, std::u32string text) {
    return ToRef<UniStringRef>(host.Objects<StringObject>().Add(StringObject{std::move(text)}));
}

HostErr HOSTAPI Initialize(UniStringRef* str, const char* bytes, uint32_t count, int32_t encoding) {
    return Fallible(kInitialize, BytesDetail(bytes, count, encoding),
                    [&](HostCore& host) -> HostErr {
                        if (str == nullptr || (bytes == nullptr && count > 0))
                            return kBadParameterErr;
                        const std::string_view input =
                            bytes != nullptr ? std::string_view(bytes, count) : std::string_view();
                        std::u32string text;
                        if (const HostErr error = DecodeText(input, encoding, &text)) return error;
                        *str = NewString(host, std::move(text));
                        return kNoErr;
                    });
}

HostErr HOSTAPI InitializeCopy(UniStringRef* str, const UniStringRef* source) {
    return Fallible(kInitializeCopy, Describe(source), [&](HostCore& host) -> HostErr {
        if (str == nullptr || source == nullptr) return kBadParameterErr;
        const StringObject* from = FindString(host, *source);
        if (from == nullptr) return kBadStringErr;
        *str = NewString(host, from->text);
        return kNoErr;
    });
}

void HOSTAPI Destroy(UniStringRef* str) {
    InfallibleVoid(kDestroy, Describe(str), [&](HostCore& host) {
        if (str == nullptr || *str == nullptr) return;  // nothing to destroy
        if (FindString(host, *str) == nullptr) {
            Problem(host, kDestroy.name, "a reference that is not a live string");
            return;
        }
        host.Objects<StringObject>().Erase(FromRef(*str));
        *str = nullptr;
    });
}

HostErr HOSTAPI Assign(UniStringRef* str, const UniStringRef* source) {
    return Fallible(kAssign, Describe(source), [&](HostCore& host) -> HostErr {
        if (str == nullptr || source == nullptr) return kBadParameterErr;
        const StringObject* from = FindString(host, *source);
        if (from == nullptr) return kBadStringErr;
        if (*str == nullptr) {
            *str = NewString(host, from->text);
            return kNoErr;
        }
        StringObject* to = FindString(host, *str);
        if (to == nullptr) return kBadStringErr;
        if (to != from) to->text = from->text;
        return kNoErr;
    });
}

uint32_t HOSTAPI Length(const UniStringRef* str) {
    return Infallible(kLength, Describe(str), uint32_t{0}, [&](HostCore& host) -> uint32_t {
        const StringObject* object = str != nullptr ? FindString(host, *str) : nullptr;
        if (object == nullptr) {
            Problem(host, kLength.name, "a reference that is not a live string");
            return 0;
        }
        return static_cast<uint32_t>(object->text.size());
    });
}

HostErr HOSTAPI Erase(UniStringRef* str, uint32_t position, uint32_t count) {
    const std::string detail =
        Describe(str) + " from " + std::to_string(position) + ", " +
        (count == kToTheEnd ? std::string("to the end") : std::to_string(count));
    return Fallible(kErase, detail, [&](HostCore& host) -> HostErr {
        if (str == nullptr) return kBadParameterErr;
        StringObject* object = FindString(host, *str);
        if (object == nullptr) return kBadStringErr;
        if (position > object->text.size()) return kRangeErr;
        // A count beyond the end, like "to the end", stops at the end.
        object->text.erase(position, count == kToTheEnd ? std::u32string::npos : count);
        return kNoErr;
    });
}

HostErr HOSTAPI GetAs(const UniStringRef* str, int32_t encoding, HostByteBuffer* buffer,
                      uint32_t* count) {
    const std::string detail = Describe(str) + " in encoding " + std::to_string(encoding);
    return Fallible(kGetAs, detail, [&](HostCore& host) -> HostErr {
        if (str == nullptr || buffer == nullptr || count == nullptr) return kBadParameterErr;
        // A block already there would be lost: the record must come empty.
        if (buffer->block != nullptr) return kBadParameterErr;
        const StringObject* object = FindString(host, *str);
        if (object == nullptr) return kBadStringErr;
        std::string bytes;
        if (const HostErr error = EncodeText(object->text, encoding, &bytes)) return error;
        if (bytes.size() > kMaxAllocation) return kOutOfMemoryErr;
        // Even the empty text comes in a block, which the caller frees.
        void* block = host.NewBlock(bytes.size(), kFreshBlockFill);
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(block));
        buffer->block = static_cast<char*>(block);
        *count = static_cast<uint32_t>(bytes.size());
        return kNoErr;
    });
}

constexpr const Op* kOps[] = {&kInitialize, &kInitializeCopy, &kDestroy, &kAssign,
                              &kLength,     &kErase,          &kGetAs};

const UnicodeStringSuite kTable = {&Initialize, &InitializeCopy, &Destroy, &Assign,
                                   &Length,     &Erase,          &GetAs};

}  // namespace

const SuiteDef kUnicodeStringSuiteDef{kUnicodeStringSuite, kUnicodeStringSuiteVersion, &kTable,
                                      kOps};

}  // namespace headless::detail
