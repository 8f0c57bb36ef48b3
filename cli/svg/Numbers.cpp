#include "cli/svg/Numbers.h"

#include <charconv>
#include <cmath>

namespace cli::svg {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void NumberScanner::SkipSpace() {
    while (!AtEnd() && IsSpace(text_[at_])) ++at_;
}

void NumberScanner::SkipSeparator() {
    SkipSpace();
    if (!AtEnd() && text_[at_] == ',') {
        ++at_;
        SkipSpace();
    }
}

bool NumberScanner::Take(std::string_view word) {
    if (Rest().substr(0, word.size()) != word) return false;
    at_ += word.size();
    return true;
}

bool NumberScanner::Number(double& value) {
    std::size_t start = at_;
    if (start < text_.size() && text_[start] == '+') ++start;  // from_chars takes no '+'
    std::size_t digits = start;
    if (digits < text_.size() && text_[digits] == '-') ++digits;
    // Only digits or a point may begin the number: no "inf", "nan" or hex.
    if (digits >= text_.size() || !(IsDigit(text_[digits]) || text_[digits] == '.')) return false;
    const char* first = text_.data() + start;
    const auto result = std::from_chars(first, text_.data() + text_.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return false;
    at_ = static_cast<std::size_t>(result.ptr - text_.data());
    return true;
}

}  // namespace cli::svg
