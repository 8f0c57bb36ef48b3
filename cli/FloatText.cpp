#include "cli/FloatText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace cli {

std::string FloatText(float f) {
    if (f == 0.0f && std::signbit(f)) return "-0.0";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, f);
    return std::string(buffer, result.ptr);
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
