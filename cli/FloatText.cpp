#include "cli/FloatText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace cli {

char* FloatChars(float f, char* buffer) {
    if (f == 0.0f && std::signbit(f)) {
        static constexpr char kNegativeZero[] = "-0.0";
        return std::copy(kNegativeZero, kNegativeZero + 4, buffer);
    }
    return std::to_chars(buffer, buffer + kFloatTextSize, f).ptr;
}

FloatTextCache::FloatTextCache() {
    for (Entry& entry : entries_) Fill(entry, 0.0f, 0);
}

void FloatTextCache::Fill(Entry& entry, float f, uint32_t bits) {
    char buffer[kFloatTextSize];
    const auto size = static_cast<std::size_t>(FloatChars(f, buffer) - buffer);
    std::memcpy(entry.text, buffer, sizeof entry.text);
    entry.size = static_cast<uint8_t>(size);
    entry.bits = bits;
}

std::string FloatText(float f) {
    char buffer[kFloatTextSize];
    return std::string(buffer, FloatChars(f, buffer));
}

namespace {

// Plain decimals of at most 17 digits ("-1227.2001"), most numbers of a
// document, without the general reader. Digits below 2^53 and a power of ten
// up to 10^17 are exact doubles, so one division rounds correctly to double;
// rounding that double to float is then correct too unless it fell exactly
// halfway between two floats, which is left to the general reader.
bool ParseShortDecimal(std::string_view text, float& value) {
    static constexpr double kPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                         1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    uint64_t digits = 0;
    int count = 0;
    int fraction = 0;
    const char* const first = p;
    for (; p != end && *p >= '0' && *p <= '9' && count <= 17; ++p, ++count)
        digits = digits * 10 + static_cast<unsigned>(*p - '0');
    if (p == first) return false;
    if (p != end && *p == '.') {
        const char* const point = ++p;
        for (; p != end && *p >= '0' && *p <= '9' && count <= 17; ++p, ++count)
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
        fraction = static_cast<int>(p - point);
        if (fraction == 0) return false;
    }
    if (p != end || count > 17 || digits > (uint64_t{1} << 53)) return false;
    const double wide = static_cast<double>(digits) / kPowers[fraction];
    // The 29 bits a float drops: exactly one half of its last place is a tie.
    uint64_t bits = 0;
    std::memcpy(&bits, &wide, sizeof bits);
    if ((bits & ((uint64_t{1} << 29) - 1)) == (uint64_t{1} << 28)) return false;
    const auto magnitude = static_cast<float>(wide);
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

FloatParse ParseFloat(std::string_view text, float& value) {
    if (text.empty() || text.front() == '+') return FloatParse::kInvalid;
    if (ParseShortDecimal(text, value)) return FloatParse::kOk;
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
