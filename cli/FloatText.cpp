#include "cli/FloatText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace cli {

char* FloatChars(float f, char* buffer) {
    if (f == 0.0f && std::signbit(f)) {
        static constexpr char kNegativeZero[] = "-0.0";
        return std::copy(kNegativeZero, kNegativeZero + 4, buffer);
    }
    return std::to_chars(buffer, buffer + kFloatTextSize, f).ptr;
}

std::string FloatText(float f) {
    char buffer[kFloatTextSize];
    return std::string(buffer, FloatChars(f, buffer));
}

FloatParse ParseFloat(std::string_view text, float& value) {
    if (text.empty() || text.front() == '+') return FloatParse::kInvalid;
    const char* end = text.data() + text.size();
    float parsed = 0.0f;
    const auto result = std::from_chars(text.data(), end, parsed);
    if (result.ptr != end) return FloatParse::kInvalid;
    if (result.ec == std::errc()) {
        value = parsed;
        return FloatParse::kOk;
    }
    if (result.ec != std::errc::result_out_of_range) return FloatParse::kInvalid;
    // Out of range is either too large or too small; only the first is an
    // error. strtof rounds the second correctly, keeping the sign of zero.
    const std::string copy(text);
    const double wide = std::strtod(copy.c_str(), nullptr);
    if (!(std::fabs(wide) < 1.0)) return FloatParse::kOutOfRange;
    value = std::strtof(copy.c_str(), nullptr);
    return FloatParse::kOk;
}

}  // namespace cli
