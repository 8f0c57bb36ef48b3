#include "hoststring/UniString.h"

#include <algorithm>
#include <cstring>

#include "hoststring/HostBlock.h"
#include "runtime/PluginGlobals.h"

namespace ai {

namespace {

// The byte buffer record of GetAs; frees the host's block on every way out.
class ByteBuffer {
public:
    ByteBuffer() = default;
    ~ByteBuffer() { FreeHostBlock(record.block); }
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    HostByteBuffer record{0, nullptr};
};

}  // namespace

UniString::UniString(const char* text, int32_t encoding) {
    if (text == nullptr) return;
    ThrowIfError(sUnicodeString->Initialize(&fString, text,
                                            static_cast<uint32_t>(std::strlen(text)), encoding));
}

UniString::UniString(const UniString& source) {
    ThrowIfError(sUnicodeString->InitializeCopy(&fString, &source.fString));
}

UniString& UniString::operator=(const UniString& source) {
    ThrowIfError(sUnicodeString->Assign(&fString, &source.fString));
    return *this;
}

UniString::~UniString() {
    if (fString != nullptr) sUnicodeString->Destroy(&fString);
}

uint32_t UniString::Length() const { return sUnicodeString->Length(&fString); }

UniString& UniString::Erase(uint32_t position, uint32_t count) {
    ThrowIfError(sUnicodeString->Erase(&fString, position, count));
    return *this;
}

std::string UniString::GetAs(int32_t encoding) const {
    ByteBuffer buffer;
    uint32_t count = 0;
    ThrowIfError(sUnicodeString->GetAs(&fString, encoding, &buffer.record, &count));
    // A count without a block has no bytes to give.
    if (count == 0 || buffer.record.block == nullptr) return std::string();
    return std::string(buffer.record.block, count);
}

uint32_t UniString::GetToBuffer(const PStr& target, uint32_t maximum, int32_t encoding) const {
    std::string bytes = GetAs(encoding);
    const auto fullCount = static_cast<uint32_t>(bytes.size());
    if (bytes.size() > maximum) {
        // Drop whole characters from the end of a copy until the encoded text fits.
        UniString shortened(*this);
        uint32_t characters = Length();
        while (bytes.size() > maximum && characters > 0) {
            --characters;
            shortened.Erase(characters, npos);
            bytes = shortened.GetAs(encoding);
        }
    }
    // Only a host whose length and bytes disagree leaves more than maximum.
    const std::size_t written = std::min<std::size_t>(bytes.size(), maximum);
    if (written > 0) std::memcpy(target.get() + 1, bytes.data(), written);
    target[0] = static_cast<unsigned char>(written & 0xFFu);
    return fullCount;
}

}  // namespace ai
