// UTF-16 text as resources store it, converted to UTF-8 for our own use.
#pragma once

#include <string>

namespace headless {

// Appends the UTF-8 bytes of one code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

// Lone surrogates become U+FFFD.
std::string Utf8FromUtf16(const std::u16string& text);
// Invalid UTF-8 bytes become U+FFFD.
std::u16string Utf16FromUtf8(const std::string& text);

}  // namespace headless
