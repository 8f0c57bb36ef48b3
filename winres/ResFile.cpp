#include "winres/ResFile.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "winres/ByteReader.h"

namespace headless {
namespace {

// DataSize, HeaderSize, 0xFFFF 0, 0xFFFF 0, then sixteen zero bytes.
constexpr size_t kEmptyEntrySize = 32;
// Sizes, two ordinals and the fixed fields after them: the smallest header.
constexpr size_t kSmallestHeader = 32;

ResourceEntry ReadEntry(ByteReader& in) {
    const size_t start = in.pos();
    if (in.remaining() < 8) {
        in.Fail(start, "truncated resource header: " + std::to_string(in.remaining()) +
                           " bytes left, a header needs at least " +
                           std::to_string(kSmallestHeader));
    }
    const uint32_t dataSize = in.U32("data size");
    const uint32_t headerSize = in.U32("header size");
    if (headerSize < kSmallestHeader) {
        in.Fail(start + 4, "header size " + std::to_string(headerSize) + " is less than the " +
                               std::to_string(kSmallestHeader) + " bytes a header needs");
    }
    if (headerSize % 4 != 0) {
        in.Fail(start + 4, "header size " + std::to_string(headerSize) +
                               " is not a multiple of 4, so the data would not be DWORD-aligned");
    }
    if (headerSize - 8 > in.remaining()) {
        in.Fail(start, "truncated resource header: it claims " + std::to_string(headerSize) +
                           " bytes, only " + std::to_string(in.remaining() + 8) + " are left");
    }
    const size_t dataStart = start + headerSize;
    if (dataSize > in.end() - dataStart) {
        in.Fail(start, "data size " + std::to_string(dataSize) + " runs past the end: the data " +
                           "starts at byte " + std::to_string(dataStart) + " of a " +
                           std::to_string(in.end()) + "-byte file");
    }

    // The type, name and fixed fields must fill the header exactly. They are
    // read past it if need be, to tell how long they really are.
    ResourceEntry entry;
    ByteReader fields = in;
    entry.type = fields.NameOrOrdinal("resource type");
    entry.name = fields.NameOrOrdinal("resource name");
    fields.AlignTo4();
    entry.dataVersion = fields.U32("data version");
    entry.memoryFlags = fields.U16("memory flags");
    entry.language = fields.U16("language id");
    entry.version = fields.U32("version");
    entry.characteristics = fields.U32("characteristics");
    if (fields.pos() != dataStart) {
        in.Fail(start + 4, "header size " + std::to_string(headerSize) + ", but its type, name " +
                               "and fields take " + std::to_string(fields.pos() - start) +
                               " bytes");
    }
    in.Skip(headerSize - 8, "resource header");
    entry.dataOffset = dataStart;
    entry.bytes = in.Bytes(dataSize, "resource data");
    in.AlignTo4();
    return entry;
}

}  // namespace

std::vector<ResourceEntry> ParseResFile(std::span<const uint8_t> bytes,
                                        const std::string& fileName) {
    ByteReader in(bytes, fileName);
    if (bytes.empty()) in.Fail(0, "empty file, not a .res file");

    static constexpr uint8_t kEmptyEntry[kEmptyEntrySize] = {0,    0,    0, 0, 0x20, 0,    0, 0,
                                                             0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
    if (bytes.size() < kEmptyEntrySize ||
        !std::equal(std::begin(kEmptyEntry), std::end(kEmptyEntry), bytes.begin())) {
        in.Fail(0,
                "not a 32-bit .res file: it does not start with the empty entry "
                "(data size 0, header size 32, type 0, name 0)");
    }
    in.Skip(kEmptyEntrySize, "empty entry");

    std::vector<ResourceEntry> entries;
    while (!in.AtEnd()) entries.push_back(ReadEntry(in));
    return entries;
}

ResourceSet LoadResFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw ResourceError(path, 0, "cannot open the file");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    if (file.bad()) throw ResourceError(path, 0, "cannot read the file");
    return ResourceSet(path, ParseResFile(bytes, path));
}

}  // namespace headless
