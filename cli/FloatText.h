// Float values as text: the shortest text that reads back to the same float,
// and a strict reader for option values and document numbers.
#pragma once

#include <cstddef>
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

enum class FloatParse { kOk, kInvalid, kOutOfRange };

// Reads the whole of text as a decimal float, correctly rounded; values too
// small for a float round to zero or a subnormal. kOutOfRange for values too
// large, kInvalid for anything else (trailing characters included). "nan"
// and "inf" are read as such; callers reject what is not finite.
FloatParse ParseFloat(std::string_view text, float& value);

}  // namespace cli
