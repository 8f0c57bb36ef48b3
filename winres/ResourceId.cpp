#include "winres/ResourceId.h"

#include "winres/Utf16.h"

namespace headless {
namespace {

char16_t FoldAscii(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

}  // namespace

ResourceId::ResourceId(std::string_view utf8Name) : name_(Utf16FromUtf8(std::string(utf8Name))) {}

std::string ResourceId::Text() const {
    return isOrdinal_ ? std::to_string(ordinal_) : Utf8FromUtf16(name_);
}

bool operator==(const ResourceId& a, const ResourceId& b) {
    if (a.isOrdinal_ || b.isOrdinal_)
        return a.isOrdinal_ == b.isOrdinal_ && a.ordinal_ == b.ordinal_;
    if (a.name_.size() != b.name_.size()) return false;
    for (size_t i = 0; i < a.name_.size(); ++i) {
        if (FoldAscii(a.name_[i]) != FoldAscii(b.name_[i])) return false;
    }
    return true;
}

std::string DescribeResource(const ResourceId& type, const ResourceId& name) {
    std::string kind;
    if (type == ResourceId(kPiplType)) {
        kind = "PiPL";
    } else if (!type.IsOrdinal()) {
        kind = "type \"" + type.Text() + "\"";
    } else {
        switch (type.ordinal()) {
            case kDialogType:
                kind = "DIALOG";
                break;
            case kStringType:
                kind = "STRINGTABLE block";
                break;
            case kVersionType:
                kind = "VERSIONINFO";
                break;
            case kManifestType:
                kind = "manifest";
                break;
            default:
                kind = "type " + type.Text();
                break;
        }
    }
    return kind + " " + (name.IsOrdinal() ? name.Text() : "\"" + name.Text() + "\"");
}

}  // namespace headless
