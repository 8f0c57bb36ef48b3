#include "headless/HostErrors.h"

#include <cstdint>
#include <cstdio>

namespace headless {

namespace {

struct Known {
    HostErr code;
    const char* meaning;
};

constexpr Known kKnown[] = {
    {kStopErr, "cancelled"},
    {kOutOfMemoryErr, "out of memory"},
    {kBadParameterErr, "bad parameter"},
    {kUnknownSuiteErr, "unknown suite"},
    {kSuiteVersionErr, "suite version not available"},
    {kSuiteNotHeldErr, "suite not held"},
    {kBadBlockErr, "not a live memory block"},
    {kBadHandleErr, "not a live memory handle"},
    {kBadArtErr, "not an art object"},
    {kBadDictionaryErr, "not a live dictionary"},
    {kBadArrayErr, "not a live array"},
    {kBadKeyErr, "not a dictionary key"},
    {kNotOwnerErr, "object not owned by the caller"},
    {kRangeErr, "index or count out of range"},
    {kWrongKindErr, "entry of another kind"},
    {kNoEntryErr, "no entry under that key"},
    {kNotPathErr, "art is not a path"},
    {kBadStringErr, "not a live Unicode string"},
    {kBadEncodingErr, "unknown encoding code"},
    {kBadTextErr, "bytes that do not decode in the encoding"},
    {kUnencodableErr, "a character the encoding lacks"},
    {kBadPluginErr, "not this host's plug-in reference"},
    {kBadMenuItemErr, "not a menu item"},
    {kBadMenuGroupErr, "not a menu group"},
    {kNoMenuGroupErr, "no menu group of that name"},
    {kDuplicateGroupErr, "a menu group of that name exists"},
    {kHasSubMenuErr, "the menu item already has a submenu"},
    {kBadFilterErr, "not a registered filter"},
    {kNotImplementedErr, "not implemented by this host"},
    {kNoCurrentHostErr, "host called outside a message"},
    {kHostInternalErr, "internal host failure"},
};

}  // namespace

std::string DescribeHostErr(HostErr code) {
    if (code == kNoErr) return "0 (no error)";
    const auto bits = static_cast<uint32_t>(code);
    char text[32];
    bool printable = true;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((bits >> shift) & 0xFFu);
        if (c < 0x20 || c > 0x7E) printable = false;
    }
    if (printable) {
        std::snprintf(text, sizeof text, "'%c%c%c%c'", static_cast<char>(bits >> 24),
                      static_cast<char>((bits >> 16) & 0xFFu),
                      static_cast<char>((bits >> 8) & 0xFFu), static_cast<char>(bits & 0xFFu));
    } else {
        std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(bits));
    }
    std::string result = text;
    for (const Known& known : kKnown) {
        if (known.code == code) return result + " (" + known.meaning + ")";
    }
    return result;
}

}  // namespace headless
