// Views of Pascal strings: a length byte followed by that many bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ai {

// A read-only view; owns nothing.
class const_PStr {
public:
    explicit const_PStr(const unsigned char* pascal) : fConstStr(pascal) {}
    const_PStr(const const_PStr&) = default;
    const_PStr& operator=(const const_PStr&) = default;
    virtual ~const_PStr() = default;

    const unsigned char* get() const { return fConstStr; }
    // The length byte.
    uint8_t length() const { return fConstStr[0]; }
    // Byte i of the string; 0 is the length byte, 1 the first text byte.
    const unsigned char& operator[](std::size_t i) const { return fConstStr[i]; }

protected:
    const unsigned char* fConstStr;
};

// A view that writes through the same pointer.
class PStr : public const_PStr {
public:
    explicit PStr(unsigned char* pascal) : const_PStr(pascal) {}

    unsigned char* get() const { return const_cast<unsigned char*>(fConstStr); }
    unsigned char& operator[](std::size_t i) const { return get()[i]; }
};

static_assert(sizeof(PStr) == sizeof(const_PStr), "PStr adds nothing to the view's layout");

}  // namespace ai
