#include "cli/svg/Paint.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "cli/svg/Numbers.h"

namespace cli::svg {

namespace {

struct Named {
    std::string_view name;
    unsigned rgb;
};
constexpr Named kNames[] = {
    {"black", 0x000000}, {"white", 0xffffff},   {"red", 0xff0000},     {"lime", 0x00ff00},
    {"green", 0x008000}, {"blue", 0x0000ff},    {"yellow", 0xffff00},  {"cyan", 0x00ffff},
    {"aqua", 0x00ffff},  {"magenta", 0xff00ff}, {"fuchsia", 0xff00ff}, {"gray", 0x808080},
    {"grey", 0x808080},  {"silver", 0xc0c0c0},  {"maroon", 0x800000},  {"olive", 0x808000},
    {"navy", 0x000080},  {"purple", 0x800080},  {"teal", 0x008080},    {"orange", 0xffa500}};

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool ParseColor(std::string_view text, float rgb[3]) {
    if (!text.empty() && text.front() == '#') {
        const std::string_view digits = text.substr(1);
        if (digits.size() != 3 && digits.size() != 6) return false;
        int values[6];
        for (std::size_t i = 0; i < digits.size(); ++i) {
            if ((values[i] = Hex(digits[i])) < 0) return false;
        }
        for (int c = 0; c < 3; ++c) {
            const int level =
                digits.size() == 3 ? values[c] * 17 : values[2 * c] * 16 + values[2 * c + 1];
            rgb[c] = static_cast<float>(level) / 255.0f;
        }
        return true;
    }
    if (text.substr(0, 4) == "rgb(" && text.back() == ')') {
        NumberScanner scan(text.substr(4, text.size() - 5));
        for (int c = 0; c < 3; ++c) {
            scan.SkipSeparator();
            double value = 0.0;
            if (!scan.Number(value)) return false;
            const double scale = scan.Take("%") ? 100.0 : 255.0;
            rgb[c] = static_cast<float>(std::clamp(value / scale, 0.0, 1.0));
        }
        scan.SkipSpace();
        return scan.AtEnd();
    }
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const Named& named : kNames) {
        if (lower != named.name) continue;
        for (int c = 0; c < 3; ++c) {
            rgb[c] = static_cast<float>((named.rgb >> (16 - 8 * c)) & 0xFF) / 255.0f;
        }
        return true;
    }
    return false;
}

}  // namespace

void SetFill(std::string_view fill, PathStyle& style) {
    if (fill == "none") {
        style.fillPaint = 0;
        return;
    }
    style.fillPaint = 1;
    style.fillColorKind = kThreeColor;
    float rgb[3] = {0.0f, 0.0f, 0.0f};
    ParseColor(fill, rgb);
    std::copy(rgb, rgb + 3, style.fillColor);
}

}  // namespace cli::svg
