#include "headless/UniStrings.h"

#include "headless/HostCore.h"
#include "winres/Utf16.h"

namespace headless::detail {

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0u) == 0x80u; }

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool DecodeUtf8(std::string_view bytes, std::u32string& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        char32_t c = 0;
        char32_t least = 0;
        if (lead < 0x80u) {
            c = lead;
        } else if ((lead & 0xE0u) == 0xC0u) {
            extra = 1;
            c = lead & 0x1Fu;
            least = 0x80;
        } else if ((lead & 0xF0u) == 0xE0u) {
            extra = 2;
            c = lead & 0x0Fu;
            least = 0x800;
        } else if ((lead & 0xF8u) == 0xF0u) {
            extra = 3;
            c = lead & 0x07u;
            least = 0x10000;
        } else {
            return false;  // a continuation byte or 0xF8..0xFF where a character starts
        }
        if (bytes.size() - i - 1 < extra) return false;  // cut short
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(next)) return false;
            c = (c << 6) | (next & 0x3Fu);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        out += c;
        i += extra + 1;
    }
    return true;
}

}  // namespace

HostErr DecodeText(std::string_view bytes, int32_t encoding, std::u32string* text) {
    std::u32string decoded;
    decoded.reserve(bytes.size());
    if (encoding == kPlatformEncoding) {
        if (!DecodeUtf8(bytes, decoded)) return kBadTextErr;
    } else if (encoding == kPascalEncoding) {
        for (const char byte : bytes)
            decoded += static_cast<char32_t>(static_cast<unsigned char>(byte));
    } else {
        return kBadEncodingErr;
    }
    *text = std::move(decoded);
    return kNoErr;
}

HostErr EncodeText(const std::u32string& text, int32_t encoding, std::string* bytes) {
    std::string encoded;
    if (encoding == kPlatformEncoding) {
        encoded = Utf8Text(text);
    } else if (encoding == kPascalEncoding) {
        encoded.reserve(text.size());
        for (const char32_t c : text) {
            if (c > 0xFF) return kUnencodableErr;
            encoded += static_cast<char>(static_cast<unsigned char>(c));
        }
    } else {
        return kBadEncodingErr;
    }
    *bytes = std::move(encoded);
    return kNoErr;
}

std::string Utf8Text(const std::u32string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) AppendUtf8(out, c);
    return out;
}

StringObject* FindString(HostCore& host, UniStringRef ref) {
    if (ref == nullptr) return nullptr;
    return host.Objects<StringObject>().Find(FromRef(ref));
}

}  // namespace headless::detail
