// Numbers as SVG attributes write them, read from a piece of text: the scanner
// behind transform lists, point lists and lengths.
#pragma once

#include <cstddef>
#include <string_view>

namespace cli::svg {

class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    std::size_t Offset() const { return at_; }
    std::string_view Rest() const { return text_.substr(at_); }

    void SkipSpace();
    // Whitespace with at most one comma in it.
    void SkipSeparator();
    // Takes word when the text goes on with it.
    bool Take(std::string_view word);
    // A finite number: sign, digits, fraction, exponent ("-1", ".5", "1e-3").
    // On failure nothing is taken.
    bool Number(double& value);

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace cli::svg
