// The VERSIONINFO resource: a tree of nodes (length, value length, type,
// key, value, children, each DWORD-aligned) whose root VS_VERSION_INFO holds
// the fixed file information and whose children are StringFileInfo (string
// tables of key/value pairs) and VarFileInfo (the Translation entries).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "winres/ResourceSource.h"

namespace headless {

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

struct FixedFileInfo {
    uint32_t signature = 0;
    uint32_t structVersion = 0;
    uint32_t fileVersionMS = 0, fileVersionLS = 0;
    uint32_t productVersionMS = 0, productVersionLS = 0;
    uint32_t fileFlagsMask = 0;
    uint32_t fileFlags = 0;
    uint32_t fileOS = 0;
    uint32_t fileType = 0;
    uint32_t fileSubtype = 0;
    uint32_t fileDateMS = 0, fileDateLS = 0;

    // {0, 1, 0, 2} for version 0.1.0.2.
    std::array<uint16_t, 4> FileVersion() const;
    std::array<uint16_t, 4> ProductVersion() const;
};

struct VersionNode {
    size_t offset = 0;  // where the node starts in the resource
    std::string key;
    uint16_t type = 0;           // 1: text value, 0: binary value
    uint16_t valueLength = 0;    // as stored: UTF-16 units for text, bytes for binary
    std::vector<uint8_t> value;  // binary value
    std::string text;            // text value, up to its terminator, in UTF-8
    std::vector<VersionNode> children;
};

struct VersionStringTable {
    std::string key;  // language and code page in hex, e.g. "040904E4"
    std::vector<std::pair<std::string, std::string>> values;  // in stored order

    const std::string* Value(std::string_view name) const;  // null when absent
};

struct Translation {
    uint16_t language = 0;
    uint16_t codePage = 0;
    friend bool operator==(const Translation&, const Translation&) = default;
};

struct VersionInfo {
    FixedFileInfo fixed;
    std::vector<VersionNode> blocks;               // the root's children, in stored order
    std::vector<VersionStringTable> stringTables;  // from StringFileInfo
    std::vector<Translation> translations;         // from VarFileInfo

    // The keys of the root's children in order, e.g. VarFileInfo, StringFileInfo.
    std::vector<std::string> BlockOrder() const;
    // A value of the first string table, or null.
    const std::string* Value(std::string_view name) const;
};

// Throws ResourceError with where and the offset on bad bytes.
VersionInfo DecodeVersionInfo(std::span<const uint8_t> bytes, const std::string& where);

// Version information versionId (1 as a rule) in language (any when none is
// given) from source, or nullopt when there is none. Throws ResourceError on
// bad bytes.
std::optional<VersionInfo> FindVersionInfo(const ResourceSource& source, uint16_t versionId,
                                           std::optional<uint16_t> language);

}  // namespace headless
