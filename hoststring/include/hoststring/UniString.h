// A host Unicode string, reached through the Unicode string suite. Every
// failing host operation raises ai::Error with the host's code.
#pragma once

#include <cstdint>
#include <string>

#include "hostinterface/HostInterface.h"
#include "hoststring/Error.h"
#include "hoststring/PStr.h"

namespace ai {

class UniString {
public:
    // Erase count meaning "to the end".
    static constexpr uint32_t npos = 0xFFFFFFFFu;

    // Not initialised: no host string yet.
    UniString() = default;
    // A host string from a zero-terminated string in encoding; a null
    // pointer leaves the string uninitialised and calls nothing.
    UniString(const char* text, int32_t encoding);
    UniString(const UniString& source);
    UniString& operator=(const UniString& source);
    ~UniString();

    // Number of characters.
    uint32_t Length() const;
    // Removes count characters from position (npos: to the end).
    UniString& Erase(uint32_t position, uint32_t count = npos);
    // The text encoded in encoding.
    std::string GetAs(int32_t encoding) const;
    // Writes the text in encoding into target as a Pascal string of at most
    // maximum text bytes, dropping whole characters from the end until it
    // fits. target must have room for maximum + 1 bytes. Returns the byte
    // count before shortening.
    uint32_t GetToBuffer(const PStr& target, uint32_t maximum, int32_t encoding) const;

    // The host's reference; null when not initialised.
    UniStringRef ref() const { return fString; }

private:
    UniStringRef fString = nullptr;
};

static_assert(sizeof(UniString) == sizeof(UniStringRef),
              "a UniString is the host's reference and nothing else");

}  // namespace ai
