#include "winres/VersionInfo.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "winres/ByteReader.h"
#include "winres/Utf16.h"

namespace headless {
namespace {

constexpr uint16_t kNodeHeadSize = 6;
constexpr uint16_t kFixedFileInfoSize = 52;
// A version resource nests four deep (root, StringFileInfo, table, string);
// the bound keeps crafted bytes from recursing once per 8 bytes of input.
constexpr int kMaxNodeDepth = 16;

VersionNode ReadNode(ByteReader& in, int depth) {
    in.AlignTo4();
    VersionNode node;
    node.offset = in.pos();
    if (depth > kMaxNodeDepth) {
        in.Fail(node.offset, "version nodes nested deeper than " + std::to_string(kMaxNodeDepth) +
                                 " levels (a version resource has 4)");
    }
    const uint16_t length = in.U16("version node length");
    if (length < kNodeHeadSize) {
        in.Fail(node.offset,
                "version node length " + std::to_string(length) + " is less than its 6-byte head");
    }
    if (size_t{length} - 2 > in.remaining()) {
        in.Fail(node.offset, "version node length " + std::to_string(length) +
                                 " runs past the end of its parent (byte " +
                                 std::to_string(in.end()) + ")");
    }
    ByteReader body = in.Sub(size_t{length} - 2);
    node.valueLength = body.U16("version value length");
    node.type = body.U16("version node type");
    node.key = Utf8FromUtf16(body.ZString16("version node key"));
    body.AlignTo4();
    if (node.type == 1) {
        // Some compilers count text values in bytes rather than units: the
        // text never reaches past its node.
        const size_t units = std::min<size_t>(node.valueLength, body.remaining() / 2);
        std::u16string text;
        bool ended = false;
        for (size_t i = 0; i < units; ++i) {
            const auto u = static_cast<char16_t>(body.U16("version text"));
            ended = ended || u == 0;
            if (!ended) text += u;
        }
        node.text = Utf8FromUtf16(text);
    } else if (node.type == 0) {
        node.value = body.Bytes(node.valueLength, "version value");
    } else {
        body.Fail(node.offset + 4, "version node \"" + node.key + "\" has type " +
                                       std::to_string(node.type) + ", expected 0 or 1");
    }
    for (;;) {
        body.AlignTo4();
        if (body.AtEnd()) break;
        node.children.push_back(ReadNode(body, depth + 1));
    }
    return node;
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

std::array<uint16_t, 4> Split(uint32_t ms, uint32_t ls) {
    return {static_cast<uint16_t>(ms >> 16), static_cast<uint16_t>(ms & 0xFFFF),
            static_cast<uint16_t>(ls >> 16), static_cast<uint16_t>(ls & 0xFFFF)};
}

}  // namespace

std::array<uint16_t, 4> FixedFileInfo::FileVersion() const {
    return Split(fileVersionMS, fileVersionLS);
}
std::array<uint16_t, 4> FixedFileInfo::ProductVersion() const {
    return Split(productVersionMS, productVersionLS);
}

const std::string* VersionStringTable::Value(std::string_view name) const {
    for (const auto& [entryKey, value] : values) {
        if (entryKey == name) return &value;
    }
    return nullptr;
}

std::vector<std::string> VersionInfo::BlockOrder() const {
    std::vector<std::string> keys;
    for (const VersionNode& block : blocks) keys.push_back(block.key);
    return keys;
}

const std::string* VersionInfo::Value(std::string_view name) const {
    return stringTables.empty() ? nullptr : stringTables.front().Value(name);
}

VersionInfo DecodeVersionInfo(std::span<const uint8_t> bytes, const std::string& where) {
    ByteReader in(bytes, where);
    VersionNode root = ReadNode(in, 1);
    if (root.key != "VS_VERSION_INFO") {
        in.Fail(0, "root key is \"" + root.key + "\", expected \"VS_VERSION_INFO\"");
    }
    if (root.type != 0 || root.value.size() != kFixedFileInfoSize) {
        in.Fail(0, "root value is " + std::to_string(root.value.size()) +
                       " bytes, expected the 52-byte fixed file information");
    }
    VersionInfo info;
    const std::vector<uint8_t>& v = root.value;
    FixedFileInfo& f = info.fixed;
    uint32_t* fields[] = {&f.signature,     &f.structVersion,    &f.fileVersionMS,
                          &f.fileVersionLS, &f.productVersionMS, &f.productVersionLS,
                          &f.fileFlagsMask, &f.fileFlags,        &f.fileOS,
                          &f.fileType,      &f.fileSubtype,      &f.fileDateMS,
                          &f.fileDateLS};
    for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = Le32(v, 4 * i);
    if (f.signature != kFixedFileInfoSignature) {
        char text[96];
        std::snprintf(text, sizeof text, "fixed file information signature 0x%08X, expected 0x%08X",
                      static_cast<unsigned>(f.signature),
                      static_cast<unsigned>(kFixedFileInfoSignature));
        in.Fail(root.offset + 40, text);  // the value follows a 6-byte head and a 32-byte key
    }

    for (const VersionNode& block : root.children) {
        if (block.key == "StringFileInfo") {
            for (const VersionNode& table : block.children) {
                VersionStringTable strings{table.key, {}};
                for (const VersionNode& entry : table.children) {
                    strings.values.emplace_back(entry.key, entry.text);
                }
                info.stringTables.push_back(std::move(strings));
            }
        } else if (block.key == "VarFileInfo") {
            for (const VersionNode& var : block.children) {
                if (var.key != "Translation") continue;
                if (var.value.size() % 4 != 0) {
                    in.Fail(var.offset, "Translation value is " + std::to_string(var.value.size()) +
                                            " bytes, not a multiple of 4");
                }
                for (size_t i = 0; i < var.value.size(); i += 4) {
                    const uint32_t pair = Le32(var.value, i);
                    info.translations.push_back(
                        {static_cast<uint16_t>(pair & 0xFFFF), static_cast<uint16_t>(pair >> 16)});
                }
            }
        }
    }
    info.blocks = std::move(root.children);
    return info;
}

std::optional<VersionInfo> FindVersionInfo(const ResourceSource& source, uint16_t versionId,
                                           std::optional<uint16_t> language) {
    const auto bytes = source.Find(kVersionType, versionId, language);
    if (!bytes) return std::nullopt;
    return DecodeVersionInfo(*bytes,
                             source.Origin() + ": " + DescribeResource(kVersionType, versionId));
}

}  // namespace headless
