// The position text against an oracle in exact decimal arithmetic: the value
// is expanded to all its decimal digits, then rounded at the first decimal.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "jitter/PositionText.h"

namespace {

// Digits are kept most significant first.
void MultiplyDigits(std::string& digits, int factor) {
    int carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const int v = (*it - '0') * factor + carry;
        *it = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    while (carry > 0) {
        digits.insert(digits.begin(), static_cast<char>('0' + carry % 10));
        carry /= 10;
    }
}

// Adds one to a decimal digit string, growing it on carry out.
void Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string OracleOneDecimal(double value) {
    const bool negative = std::signbit(value);
    const auto bits = std::bit_cast<uint64_t>(std::fabs(value));
    const auto biased = static_cast<int>(bits >> 52);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    int exponent = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0) mantissa |= uint64_t{1} << 52;

    // |value| = mantissa * 2^exponent, written out in full.
    std::string digits = std::to_string(mantissa);
    int fractionDigits = 0;
    if (exponent >= 0) {
        for (int i = 0; i < exponent; ++i) MultiplyDigits(digits, 2);
    } else {
        // m / 2^k = m * 5^k / 10^k
        for (int i = 0; i < -exponent; ++i) MultiplyDigits(digits, 5);
        fractionDigits = -exponent;
    }
    while (static_cast<int>(digits.size()) <= fractionDigits) digits.insert(digits.begin(), '0');
    std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(fractionDigits));
    const std::string fraction = digits.substr(whole.size()) + "00";

    // Round to one decimal: the tail is at least half exactly when its first digit is 5 or more.
    std::string tenths = whole + fraction[0];
    if (fraction[1] >= '5') Increment(tenths);
    std::string text = tenths.substr(0, tenths.size() - 1) + "." + tenths.back();
    return negative ? "-" + text : text;
}

std::string Format(double value) {
    char buffer[512];  // room for any double
    FormatOneDecimal(value, buffer, sizeof buffer);
    return buffer;
}

std::string Position(float x, float y) {
    char buffer[kPositionTextSize];
    FormatPositionText(x, y, buffer, sizeof buffer);
    return buffer;
}

TEST(PositionText, ExamplesRoundHalvesAwayFromZero) {
    const struct {
        float x, y;
        const char* text;
    } cases[] = {
        {10.04f, -3.27f, "10.0_-3.3"}, {12.25f, -0.75f, "12.3_-0.8"}, {9.96f, 0.03f, "10.0_0.0"},
        {-0.03f, 12.24f, "-0.0_12.2"}, {-0.0f, 0.0f, "-0.0_0.0"},     {-12.25f, 0.05f, "-12.3_0.1"},
        {0.25f, -0.25f, "0.3_-0.3"},   {2.5f, 99.75f, "2.5_99.8"},
    };
    for (const auto& c : cases) EXPECT_EQ(Position(c.x, c.y), c.text) << c.x << ", " << c.y;
}

TEST(PositionText, EveryQuarterMatchesTheOracle) {
    // Quarters are the only ties a float can hold at one decimal; they run out at 2^22.
    for (int32_t k = -40000; k <= 40000; ++k) {
        const float value = static_cast<float>(k) / 4.0f;
        ASSERT_EQ(Format(value), OracleOneDecimal(value)) << value;
    }
    for (int32_t k = (1 << 24) - 4000; k < (1 << 24); ++k) {
        const float value = static_cast<float>(k) / 4.0f;
        ASSERT_EQ(Format(value), OracleOneDecimal(value)) << value;
        ASSERT_EQ(Format(-value), OracleOneDecimal(-value)) << -value;
    }
}

TEST(PositionText, RandomFloatsOfEveryExponentMatchTheOracle) {
    std::mt19937 engine(20261211);
    for (int i = 0; i < 20000; ++i) {
        const auto value = std::bit_cast<float>(static_cast<uint32_t>(engine()));
        if (!std::isfinite(value)) continue;
        ASSERT_EQ(Format(value), OracleOneDecimal(value)) << std::bit_cast<uint32_t>(value);
    }
    for (const float value : {std::numeric_limits<float>::max(), std::numeric_limits<float>::min(),
                              std::numeric_limits<float>::denorm_min(), 0.05f, 0.95f, 1e-7f}) {
        EXPECT_EQ(Format(value), OracleOneDecimal(value)) << value;
        EXPECT_EQ(Format(-value), OracleOneDecimal(-value)) << -value;
    }
}

TEST(PositionText, WholeDoubleRangeStaysInsideItsWorkspace) {
    for (const double value : {std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::denorm_min(), 0.05, 1e300}) {
        EXPECT_EQ(Format(value), OracleOneDecimal(value));
    }
}

TEST(PositionText, NonFiniteValuesPrintAsWords) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Position(inf, -inf), "inf_-inf");
    EXPECT_EQ(Position(nan, -nan), "nan_-nan");
}

TEST(PositionText, ShortBufferIsCutAndTerminated) {
    char buffer[6];
    EXPECT_EQ(FormatPositionText(123.25f, -6.0f, buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "123.3");
}

}  // namespace
