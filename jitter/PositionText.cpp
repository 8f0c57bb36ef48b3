// Exact one-decimal formatting without the C runtime: the value is a binary
// fraction, so its scaled, rounded magnitude can be computed in integers.
#include "jitter/PositionText.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// A little-endian unsigned integer wide enough for 10 * 2^1024 of a double's
// integer part; every operation keeps to the fixed array.
struct Wide {
    static constexpr int kLimbs = 36;
    uint32_t limb[kLimbs] = {};
    int used = 0;  // limbs in use

    bool IsZero() const { return used == 0; }

    void SetFrom(uint64_t v) {
        used = 0;
        while (v != 0) {
            limb[used++] = static_cast<uint32_t>(v);
            v >>= 32;
        }
    }

    void ShiftLeft(int bits) {
        const int words = bits / 32;
        const int rest = bits % 32;
        if (used == 0) return;
        for (int i = used - 1; i >= 0; --i) limb[i + words] = limb[i];
        for (int i = 0; i < words; ++i) limb[i] = 0;
        used += words;
        if (rest != 0) {
            uint32_t carry = 0;
            for (int i = 0; i < used; ++i) {
                const uint32_t next = limb[i] >> (32 - rest);
                limb[i] = (limb[i] << rest) | carry;
                carry = next;
            }
            if (carry != 0) limb[used++] = carry;
        }
    }

    // Divides by divisor in place and returns the remainder.
    uint32_t DivMod(uint32_t divisor) {
        uint64_t remainder = 0;
        for (int i = used - 1; i >= 0; --i) {
            const uint64_t cur = (remainder << 32) | limb[i];
            limb[i] = static_cast<uint32_t>(cur / divisor);
            remainder = cur % divisor;
        }
        while (used > 0 && limb[used - 1] == 0) --used;
        return static_cast<uint32_t>(remainder);
    }
};

// Copies text into buffer within size, always terminating when size > 0.
std::size_t Emit(const char* text, std::size_t length, char* buffer, std::size_t size) {
    if (size > 0) {
        const std::size_t n = length < size ? length : size - 1;
        std::memcpy(buffer, text, n);
        buffer[n] = '\0';
    }
    return length;
}

}  // namespace

std::size_t FormatOneDecimal(double value, char* buffer, std::size_t size) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return Emit(negative ? "-nan" : "nan", negative ? 4 : 3, buffer, size);
    if (std::isinf(value)) return Emit(negative ? "-inf" : "inf", negative ? 4 : 3, buffer, size);

    // |value| = mantissa * 2^exponent, mantissa an integer below 2^53.
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;

    // tenths = round-half-away(|value| * 10).
    Wide tenths;
    if (exponent >= 0) {
        tenths.SetFrom(mantissa * 10);  // below 2^57
        tenths.ShiftLeft(exponent);
    } else if (-exponent < 64) {
        // mantissa * 10 needs 57 bits; split the shift so nothing overflows.
        const int shift = -exponent;
        const uint64_t scaled = mantissa * 10;
        const uint64_t whole = scaled >> shift;
        const uint64_t dropped = scaled - (whole << shift);
        const uint64_t half = uint64_t{1} << (shift - 1);
        tenths.SetFrom(whole + (dropped >= half ? 1 : 0));
    }  // otherwise |value| * 10 < 2^-6: rounds to zero

    // Digits come out least significant first; the first one is the decimal.
    char digits[400];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + tenths.DivMod(10));
    } while (!tenths.IsZero());
    if (count == 1) digits[count++] = '0';

    char text[404];
    std::size_t length = 0;
    if (negative) text[length++] = '-';
    for (int i = count - 1; i >= 1; --i) text[length++] = digits[i];
    text[length++] = '.';
    text[length++] = digits[0];
    return Emit(text, length, buffer, size);
}

std::size_t FormatPositionText(float x, float y, char* buffer, std::size_t size) {
    char first[64];
    char second[64];
    // A float's integer part has at most 39 digits, so each text fits.
    const std::size_t a = FormatOneDecimal(x, first, sizeof first);
    const std::size_t b = FormatOneDecimal(y, second, sizeof second);
    char text[2 * sizeof first];
    std::memcpy(text, first, a);
    text[a] = '_';
    std::memcpy(text + a + 1, second, b);
    return Emit(text, a + 1 + b, buffer, size);
}
