// libFuzzer target for the Windows resource reader and every decoder: any
// bytes must end in decoded resources or in a ResourceError, never in a
// crash, a hang, a sanitizer report or another exception.
//
// Input that begins like a .res file is read as one, and each of its
// resources goes to the decoder of its type, then the set to the host's
// declaration check. Other input goes straight to one decoder, picked by
// its first byte, so the decoders are reached without a valid container.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "winres/Declaration.h"
#include "winres/DialogTemplate.h"
#include "winres/Pipl.h"
#include "winres/ResFile.h"
#include "winres/ResourceError.h"
#include "winres/StringTable.h"
#include "winres/VersionInfo.h"

namespace {

using namespace headless;

using Decoder = void (*)(std::span<const uint8_t>);

void Pipl(std::span<const uint8_t> bytes) {
    (void)CheckDeclaration(DecodePipl(bytes, "PIPL"), "PIPL");
}
void Dialog(std::span<const uint8_t> bytes) { (void)DecodeDialog(bytes, "DIALOG"); }
void Strings(std::span<const uint8_t> bytes) { (void)DecodeStringBlock(bytes, "STRINGTABLE"); }
void Version(std::span<const uint8_t> bytes) { (void)DecodeVersionInfo(bytes, "VERSIONINFO"); }

constexpr Decoder kDecoders[] = {&Pipl, &Dialog, &Strings, &Version};

// The decoder for a resource of type, or null for types the host never reads.
Decoder DecoderOf(const ResourceId& type) {
    if (type == ResourceId(kPiplType)) return &Pipl;
    if (!type.IsOrdinal()) return nullptr;
    switch (type.ordinal()) {
        case kDialogType:
            return &Dialog;
        case kStringType:
            return &Strings;
        case kVersionType:
            return &Version;
        default:
            return nullptr;
    }
}

// Every .res file begins with an empty entry of 32 bytes: sizes 0 and 32.
bool LooksLikeResFile(std::span<const uint8_t> bytes) {
    static constexpr uint8_t kHead[] = {0, 0, 0, 0, 0x20, 0, 0, 0};
    return bytes.size() >= sizeof kHead &&
           std::equal(std::begin(kHead), std::end(kHead), bytes.begin());
}

void Decode(Decoder decoder, std::span<const uint8_t> bytes) {
    try {
        decoder(bytes);
    } catch (const ResourceError&) {
        // Bad bytes, told as such.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (!LooksLikeResFile(bytes)) {
        if (!bytes.empty()) Decode(kDecoders[bytes[0] % std::size(kDecoders)], bytes.subspan(1));
        return 0;
    }
    std::vector<ResourceEntry> entries;
    try {
        entries = ParseResFile(bytes, "fuzz.res");
    } catch (const ResourceError&) {
        return 0;
    }
    for (const ResourceEntry& entry : entries) {
        if (const Decoder decoder = DecoderOf(entry.type)) Decode(decoder, entry.bytes);
    }
    // Reports what is wrong; throws nothing.
    (void)CheckModuleDeclaration(ResourceSet("fuzz.res", std::move(entries)));
    return 0;
}
