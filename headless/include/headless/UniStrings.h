// The host's Unicode strings: objects holding code points, made and read in
// two encodings. Code 0 is UTF-8 (multi-byte: a character may take up to four
// bytes); code 1 is Latin-1 (one byte per character, U+0000 to U+00FF).
#pragma once

#include <string>
#include <string_view>

#include "hostinterface/HostInterface.h"

namespace headless::detail {

class HostCore;

struct StringObject {
    static constexpr const char* kKind = "string";
    std::u32string text;
};

// The code points of bytes in encoding into *text: kBadEncodingErr for an
// unknown code, kBadTextErr for bytes that do not decode. *text is only
// written on success.
HostErr DecodeText(std::string_view bytes, int32_t encoding, std::u32string* text);

// text in encoding into *bytes: kBadEncodingErr, or kUnencodableErr for a
// character the encoding lacks. *bytes is only written on success.
HostErr EncodeText(const std::u32string& text, int32_t encoding, std::string* bytes);

// UTF-8 of code points that came from a decode (always encodable).
std::string Utf8Text(const std::u32string& text);

// The live string behind ref, or null.
StringObject* FindString(HostCore& host, UniStringRef ref);

}  // namespace headless::detail
