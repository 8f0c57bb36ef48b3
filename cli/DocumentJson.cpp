#include "cli/DocumentJson.h"

#include <cmath>
#include <functional>
#include <ostream>

#include "cli/FloatText.h"

namespace cli {

namespace {

// Numbers go straight from to_chars into the text, without a string each.
void AppendFloat(float value, std::string& out) {
    char buffer[kFloatTextSize];
    out.append(buffer, FloatChars(value, buffer));
}

void AppendPoint(const RealPoint& point, std::string& out) {
    out += '[';
    AppendFloat(point.h, out);
    out += ", ";
    AppendFloat(point.v, out);
    out += ']';
}

void AppendLevels(const float* levels, std::size_t count, std::string& out) {
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ", ";
        AppendFloat(levels[i], out);
    }
    out += ']';
}

void AppendFill(const PathStyle& style, std::string& out) {
    if (!style.fillPaint) {
        out += "null";
    } else if (style.fillColorKind == kThreeColor) {
        out += "{\"rgb\": ";
        AppendLevels(style.fillColor, 3, out);
        out += '}';
    } else if (style.fillColorKind == kFourColor) {
        out += "{\"cmyk\": ";
        AppendLevels(style.fillColor, 4, out);
        out += '}';
    } else {  // gray, and any kind this format has no name for, by its first level
        out += "{\"gray\": ";
        AppendFloat(style.fillColor[0], out);
        out += '}';
    }
}

const char* Bool(bool value) { return value ? "true" : "false"; }

void AppendPath(const headless::Art& art, const std::vector<std::string>* segmentMembers,
                std::string& out) {
    out += "{\"type\": \"path\", \"selected\": ";
    out += Bool(art.selected);
    out += ", \"closed\": ";
    out += Bool(art.closed);
    out += ", \"fill\": ";
    AppendFill(art.style, out);
    if (!art.passthrough.empty()) {
        out += ", ";
        out += art.passthrough;
    }
    out += ", \"segments\": [";
    for (std::size_t s = 0; s < art.segments.size(); ++s) {
        const PathSegment& segment = art.segments[s];
        out += s == 0 ? "\n" : ",\n";
        out += "      {\"p\": ";
        AppendPoint(segment.p, out);
        out += ", \"in\": ";
        AppendPoint(segment.in, out);
        out += ", \"out\": ";
        AppendPoint(segment.out, out);
        out += ", \"corner\": ";
        out += Bool(segment.corner != 0);
        if (segmentMembers != nullptr && s < segmentMembers->size() &&
            !(*segmentMembers)[s].empty()) {
            out += ", ";
            out += (*segmentMembers)[s];
        }
        out += '}';
    }
    if (!art.segments.empty()) out += "\n    ";
    out += "]}";
}

// The document's text into out; after each art, flush(out) may take the
// text so far away.
void WriteDocument(const DocumentFile& file, std::string& out,
                   const std::function<void(std::string&)>& flush) {
    const auto& art = file.document.art;
    out += "{\n  \"art\": [";
    for (std::size_t a = 0; a < art.size(); ++a) {
        out += a == 0 ? "\n    " : ",\n    ";
        if (art[a].type == kPathArt) {
            AppendPath(art[a], a < file.segmentMembers.size() ? &file.segmentMembers[a] : nullptr,
                       out);
        } else if (!art[a].passthrough.empty()) {
            out += art[a].passthrough;
        } else {
            out += "{\"type\": \"unknown\"}";  // made in code, with nothing to keep
        }
        if (flush) flush(out);
    }
    if (!art.empty()) out += "\n  ";
    out += "]";
    if (!file.members.empty()) out += ",\n  " + file.members;
    out += "\n}\n";
}

}  // namespace

std::string WriteDocumentJson(const DocumentFile& file) {
    // About what a segment and a path take, so the text grows once or twice.
    std::size_t estimate = 64 + file.members.size();
    for (const headless::Art& one : file.document.art)
        estimate += 128 + one.passthrough.size() + 112 * one.segments.size();
    std::string out;
    out.reserve(estimate);
    WriteDocument(file, out, {});
    return out;
}

void WriteDocumentJson(const DocumentFile& file, std::ostream& stream) {
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    std::string out;
    out.reserve(2 * kChunk);
    WriteDocument(file, out, [&stream](std::string& text) {
        if (text.size() < kChunk) return;
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    });
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
}

std::string WriteDocumentJson(const headless::Document& document) {
    DocumentFile file;
    file.document = document;
    return WriteDocumentJson(file);
}

}  // namespace cli
