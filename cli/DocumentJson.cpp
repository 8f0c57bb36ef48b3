#include "cli/DocumentJson.h"

#include <cstring>
#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

#include "cli/FloatText.h"

namespace cli {

namespace {

// The text is made in a buffer and handed on in pieces of about 64 KB: to a
// string or a stream. Each piece of a segment is copied in with a length
// known at compile time, and numbers go straight from to_chars into it.
class JsonOut {
public:
    using Take = std::function<void(const char*, std::size_t)>;
    explicit JsonOut(Take take) : buffer_(new char[kChunk + kRoom]), take_(std::move(take)) {
        at_ = buffer_.get();
    }
    JsonOut(const JsonOut&) = delete;
    JsonOut& operator=(const JsonOut&) = delete;

    // Hands on what is made once it fills a piece; leaves room for a segment.
    void Drain(bool all = false) {
        const std::size_t made = static_cast<std::size_t>(at_ - buffer_.get());
        if (made == 0 || (!all && made < kChunk)) return;
        take_(buffer_.get(), made);
        at_ = buffer_.get();
    }

    template <std::size_t N>
    void Literal(const char (&text)[N]) {
        std::memcpy(at_, text, N - 1);
        at_ += N - 1;
    }
    void Char(char c) { *at_++ = c; }
    void Bool(bool value) {
        if (value) {
            Literal("true");
        } else {
            Literal("false");
        }
    }
    void Float(float value) { at_ = floats_.Chars(value, at_); }
    // Text of any length (kept members): long text goes on in one piece.
    void Text(std::string_view text) {
        if (text.size() > kRoom) {
            Drain(true);
            take_(text.data(), text.size());
            return;
        }
        if (static_cast<std::size_t>(at_ - buffer_.get()) + text.size() > kChunk + kRoom / 2)
            Drain(true);
        std::memcpy(at_, text.data(), text.size());
        at_ += text.size();
    }

private:
    static constexpr std::size_t kChunk = std::size_t{1} << 16;
    // Past a piece's size: room for what is written between two drains (a
    // segment's or a path head's own text; kept text is written by Text).
    static constexpr std::size_t kRoom = 1024;

    std::unique_ptr<char[]> buffer_;
    char* at_;
    Take take_;
    FloatTextCache floats_;
};

void WritePoint(const RealPoint& point, JsonOut& out) {
    out.Char('[');
    out.Float(point.h);
    out.Literal(", ");
    out.Float(point.v);
    out.Char(']');
}

void WriteLevels(const float* levels, std::size_t count, JsonOut& out) {
    out.Char('[');
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out.Literal(", ");
        out.Float(levels[i]);
    }
    out.Char(']');
}

void WriteFill(const PathStyle& style, JsonOut& out) {
    if (!style.fillPaint) {
        out.Literal("null");
    } else if (style.fillColorKind == kThreeColor) {
        out.Literal("{\"rgb\": ");
        WriteLevels(style.fillColor, 3, out);
        out.Char('}');
    } else if (style.fillColorKind == kFourColor) {
        out.Literal("{\"cmyk\": ");
        WriteLevels(style.fillColor, 4, out);
        out.Char('}');
    } else {  // gray, and any kind this format has no name for, by its first level
        out.Literal("{\"gray\": ");
        out.Float(style.fillColor[0]);
        out.Char('}');
    }
}

void WritePath(const headless::Art& art, const std::vector<std::string>* segmentMembers,
               JsonOut& out) {
    out.Literal("{\"type\": \"path\", \"selected\": ");
    out.Bool(art.selected);
    out.Literal(", \"closed\": ");
    out.Bool(art.closed);
    out.Literal(", \"fill\": ");
    WriteFill(art.style, out);
    if (!art.passthrough.empty()) {
        out.Literal(", ");
        out.Text(art.passthrough);
    }
    out.Literal(", \"segments\": [");
    for (std::size_t s = 0; s < art.segments.size(); ++s) {
        const PathSegment& segment = art.segments[s];
        out.Drain();
        if (s == 0) {
            out.Char('\n');
        } else {
            out.Literal(",\n");
        }
        out.Literal("      {\"p\": ");
        WritePoint(segment.p, out);
        out.Literal(", \"in\": ");
        WritePoint(segment.in, out);
        out.Literal(", \"out\": ");
        WritePoint(segment.out, out);
        out.Literal(", \"corner\": ");
        out.Bool(segment.corner != 0);
        if (segmentMembers != nullptr && s < segmentMembers->size() &&
            !(*segmentMembers)[s].empty()) {
            out.Literal(", ");
            out.Text((*segmentMembers)[s]);
        }
        out.Char('}');
    }
    if (!art.segments.empty()) out.Literal("\n    ");
    out.Literal("]}");
}

void WriteDocument(const headless::Document& document, const DocumentFile* file, JsonOut& out) {
    const auto& art = document.art;
    out.Literal("{\n  \"art\": [");
    for (std::size_t a = 0; a < art.size(); ++a) {
        out.Drain();
        if (a == 0) {
            out.Literal("\n    ");
        } else {
            out.Literal(",\n    ");
        }
        if (art[a].type == kPathArt) {
            const bool members = file != nullptr && a < file->segmentMembers.size();
            WritePath(art[a], members ? &file->segmentMembers[a] : nullptr, out);
        } else if (!art[a].passthrough.empty()) {
            out.Text(art[a].passthrough);
        } else {
            out.Literal("{\"type\": \"unknown\"}");  // made in code, with nothing to keep
        }
    }
    out.Drain();
    if (!art.empty()) out.Literal("\n  ");
    out.Char(']');
    if (file != nullptr && !file->members.empty()) {
        out.Literal(",\n  ");
        out.Text(file->members);
    }
    out.Literal("\n}\n");
    out.Drain(true);
}

std::string WriteToString(const headless::Document& document, const DocumentFile* file) {
    // About what a segment and a path take, so the text grows once or twice.
    std::size_t estimate = 64 + (file != nullptr ? file->members.size() : 0);
    for (const headless::Art& one : document.art)
        estimate += 128 + one.passthrough.size() + 112 * one.segments.size();
    std::string text;
    text.reserve(estimate);
    JsonOut out([&text](const char* data, std::size_t size) { text.append(data, size); });
    WriteDocument(document, file, out);
    return text;
}

}  // namespace

std::string WriteDocumentJson(const DocumentFile& file) {
    return WriteToString(file.document, &file);
}

void WriteDocumentJson(const DocumentFile& file, std::ostream& stream) {
    JsonOut out([&stream](const char* data, std::size_t size) {
        stream.write(data, static_cast<std::streamsize>(size));
    });
    WriteDocument(file.document, &file, out);
}

std::string WriteDocumentJson(const headless::Document& document) {
    return WriteToString(document, nullptr);
}

}  // namespace cli
