// Float values as text: the shortest text that reads back to the same float,
// and a strict reader for option values and document numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace cli {

// The shortest decimal text that reads back to exactly f ("0.1", "-0.0",
// "1e+10"). Negative zero keeps its sign and a decimal point, so that a JSON
// reader takes it for a float rather than the integer 0.
std::string FloatText(float f);

// The same text into buffer (kFloatTextSize bytes at least); returns its end.
constexpr std::size_t kFloatTextSize = 32;
char* FloatChars(float f, char* buffer);

// FloatChars with a memory of the last few floats' texts: documents repeat
// their coordinates (a point's handles, the corners tiles share), and a copy
// costs far less than finding the shortest text again.
class FloatTextCache {
public:
    FloatTextCache();
    // The text of f into buffer (kFloatTextSize bytes at least); returns its end.
    char* Chars(float f, char* buffer) {
        uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        Entry& entry = entries_[(bits * 0x9E3779B1u) >> (32 - kBits)];
        if (entry.bits != bits) Fill(entry, f, bits);
        std::memcpy(buffer, entry.text, sizeof entry.text);
        return buffer + entry.size;
    }

private:
    static constexpr int kBits = 4;
    struct Entry {
        uint32_t bits;
        uint8_t size;
        char text[16];  // the longest float text has 15 characters
    };
    static void Fill(Entry& entry, float f, uint32_t bits);
    Entry entries_[std::size_t{1} << kBits];
};

enum class FloatParse { kOk, kInvalid, kOutOfRange };

// Reads the whole of text as a decimal float, correctly rounded; values too
// small for a float round to zero or a subnormal. kOutOfRange for values too
// large, kInvalid for anything else (trailing characters included). "nan"
// and "inf" are read as such; callers reject what is not finite.
FloatParse ParseFloat(std::string_view text, float& value);

}  // namespace cli
