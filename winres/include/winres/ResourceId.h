// Resource types and names: a 16-bit ordinal or a UTF-16 string, as the
// resource formats store them. Also the type ordinals and languages we use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace headless {

class ResourceId {
public:
    ResourceId(uint16_t ordinal) : ordinal_(ordinal), isOrdinal_(true) {}  // NOLINT: implicit
    ResourceId(std::u16string name) : name_(std::move(name)) {}            // NOLINT: implicit
    ResourceId(std::string_view utf8Name);                                 // NOLINT: implicit

    bool IsOrdinal() const { return isOrdinal_; }
    uint16_t ordinal() const { return ordinal_; }         // 0 for a string
    const std::u16string& name() const { return name_; }  // empty for an ordinal
    // "16000", or the name in UTF-8.
    std::string Text() const;

    // String names compare without regard to ASCII case, as Windows does.
    friend bool operator==(const ResourceId& a, const ResourceId& b);

private:
    uint16_t ordinal_ = 0;
    bool isOrdinal_ = false;
    std::u16string name_;
};

// Predefined resource types.
constexpr uint16_t kDialogType = 5;     // RT_DIALOG
constexpr uint16_t kStringType = 6;     // RT_STRING
constexpr uint16_t kVersionType = 16;   // RT_VERSION
constexpr uint16_t kManifestType = 24;  // RT_MANIFEST
constexpr std::string_view kPiplType = "PIPL";

// Language ids (primary language | sublanguage << 10).
constexpr uint16_t kLangEnglishUS = 0x0409;
constexpr uint16_t kLangEnglishUK = 0x0809;

// "DIALOG 16000", "PiPL 16000", "type 99 7": for error messages.
std::string DescribeResource(const ResourceId& type, const ResourceId& name);

}  // namespace headless
