// Reading a JSON document in one pass of a streaming parser (RapidJSON's SAX
// reader), straight into the document: no tree is built. Numbers reach us as
// their text, so coordinates are read as floats exactly, and members the
// host does not know are copied out as compact text while they stream past.
//
// Faults in the input's meaning are remembered, not thrown at once: a fault
// of the JSON itself (syntax, nesting, a duplicate key) anywhere in the text
// is reported first, then the first fault of meaning. A fault inside an art
// object counts only once the object turns out to be a path: art of other
// types is kept whole whatever it holds.
// RapidJSON 1.1's stack adds an offset to its null pointer before its first
// allocation: harmless, but clang's undefined-behaviour check stops on it.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((no_sanitize("pointer-overflow"))), apply_to = function)
#endif
#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>
#if defined(__clang__)
#pragma clang attribute pop
#endif

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "cli/DocumentJson.h"
#include "cli/FloatText.h"
#include "cli/InputError.h"
#include "cli/JsonTree.h"

namespace cli {

namespace {

// Deeper nesting is refused, as the tree reader refused it.
constexpr std::size_t kMaxDepth = 256;

// In situ: strings are decoded into the stream's own buffer and numbers are
// not copied at all (the handler takes their text from the input).
constexpr unsigned kParseFlags = rapidjson::kParseNumbersAsStringsFlag |
                                 rapidjson::kParseValidateEncodingFlag |
                                 rapidjson::kParseStopWhenDoneFlag | rapidjson::kParseInsituFlag;

// The input, read in place and never written: what the parser puts (a
// string's decoded text) goes to a buffer of its own, made as large as the
// string's raw text before the string is read (decoding never lengthens; a
// broken sequence ends the read within a few bytes).
class SourceStream {
public:
    using Ch = char;
    explicit SourceStream(std::string_view text)
        : begin_(text.data()), src_(text.data()), end_(text.data() + text.size()) {}

    Ch Peek() const { return src_ == end_ ? '\0' : *src_; }
    Ch Take() { return src_ == end_ ? '\0' : *src_++; }
    std::size_t Tell() const { return static_cast<std::size_t>(src_ - begin_); }

    // White space in one loop over the bytes (found by the parser's calls).
    void SkipSpace() {
        while (src_ != end_ && (*src_ == ' ' || *src_ == '\n' || *src_ == '\r' || *src_ == '\t'))
            ++src_;
    }

    // Called with the opening quote taken: room up to the closing one (the
    // first quote no backslash escapes), or to the end when there is none.
    Ch* PutBegin() {
        const char* close = src_;
        while (close < end_ && *close != '"') close += *close == '\\' ? 2 : 1;
        const auto raw = static_cast<std::size_t>(std::min(close, end_) - src_);
        // The terminating null, and the three bytes a broken UTF-8 sequence
        // just before the closing quote takes past it before the reader stops.
        if (put_.size() < raw + 4) put_.resize(raw + 4);
        return dst_ = put_.data();
    }
    void Put(Ch c) { *dst_++ = c; }
    std::size_t PutEnd(Ch* begin) { return static_cast<std::size_t>(dst_ - begin); }
    Ch* Push(std::size_t count) {
        Ch* begin = dst_;
        dst_ += count;
        return begin;
    }
    void Pop(std::size_t count) { dst_ -= count; }
    void Flush() {}

private:
    const char* begin_;
    const char* src_;
    const char* end_;
    std::vector<char> put_;
    char* dst_ = nullptr;
};

using Reader = rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>>;

// Found by argument-dependent lookup, before RapidJSON's own template.
inline void SkipWhitespace(SourceStream& stream) { stream.SkipSpace(); }

// The byte offset of the opening quote of the string whose closing quote is
// just before end: the first quote back that no backslash escapes.
std::size_t StringStart(std::string_view text, std::size_t end) {
    std::size_t i = end >= 2 ? end - 2 : 0;
    while (i > 0) {
        if (text[i] == '"') {
            std::size_t slashes = 0;
            while (slashes < i && text[i - 1 - slashes] == '\\') ++slashes;
            if (slashes % 2 == 0) return i;
        }
        --i;
    }
    return 0;
}

std::string PlaceText(std::string_view text, std::size_t offset) {
    const TextPlace place = PlaceOfByte(text, offset + 1);
    return std::to_string(place.line) + ":" + std::to_string(place.column);
}

// The keys of one open object with where each ended, to refuse a repeat.
// Small objects are searched in order; large ones get a map.
class KeyScope {
public:
    void Clear() {
        keys_.clear();
        if (!index_.empty()) index_.clear();  // clearing walks every bucket
    }
    // The end offset of an earlier key of the same name, if any; else adds it.
    std::optional<std::size_t> Add(std::string_view name, std::size_t end) {
        if (!index_.empty()) {
            const auto [it, added] = index_.try_emplace(std::string(name), end);
            if (!added) return it->second;
            return std::nullopt;
        }
        for (const auto& [known, at] : keys_)
            if (known == name) return at;
        keys_.emplace_back(std::string(name), end);
        if (keys_.size() > kSearched) {
            for (const auto& [known, at] : keys_) index_.emplace(known, at);
        }
        return std::nullopt;
    }

private:
    static constexpr std::size_t kSearched = 16;
    std::vector<std::pair<std::string, std::size_t>> keys_;
    std::unordered_map<std::string, std::size_t> index_;
};

// What an open container is, for the events inside it.
enum class Frame : uint8_t {
    kRoot,      // the document object
    kArtList,   // "art"
    kArt,       // one art object
    kFill,      // "fill" object
    kLevels,    // the array of an rgb or cmyk fill
    kSegments,  // "segments"
    kSegment,   // one segment object
    kPoint,     // "p", "in" or "out"
    kCapture,   // inside a value copied as text
    kSkip,      // inside a value already found wrong
};

// The members of art and segment objects the reader knows.
enum class Member : uint8_t {
    kNone,
    kUnknown,  // copied as text
    kType,
    kSelected,
    kClosed,
    kFill,
    kSegments,
    kP,
    kIn,
    kOut,
    kCorner,
    kArt,
    kGray,
    kRgb,
    kCmyk,
};

// What a number is, for a message: its pieces, joined only for a fault.
struct What {
    const char* a;
    const char* b = "";
    const char* c = "";
    std::string Text() const { return std::string(a) + b + c; }
};

constexpr const char* kFillShape =
    ": \"fill\" must be null, {\"gray\": g}, {\"rgb\": [r, g, b]} or {\"cmyk\": [c, m, y, k]}";

struct FillKind {
    const char* name;
    int32_t code;
    std::size_t levels;
};
constexpr FillKind kFillKinds[] = {
    {"gray", kGrayColor, 1}, {"rgb", kThreeColor, 3}, {"cmyk", kFourColor, 4}};

class DocumentHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentHandler> {
public:
    DocumentHandler(std::string_view text, const std::string& fileName, const SourceStream& stream,
                    DocumentFile& file)
        : text_(text), fileName_(fileName), stream_(stream), file_(file) {}

    // --- Events --------------------------------------------------------------

    bool Null() { return Scalar(Value::kNull, "null"); }
    bool Bool(bool value) {
        boolValue_ = value;
        return Scalar(Value::kBool, value ? "true" : "false");
    }
    // In situ the parser passes no text of its own: the number ends here.
    bool RawNumber(const char*, rapidjson::SizeType length, bool) {
        return Scalar(Value::kNumber, text_.substr(stream_.Tell() - length, length));
    }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        return Scalar(Value::kString, std::string_view(text, length));
    }
    bool StartObject() { return Open(Value::kObject); }
    bool StartArray() { return Open(Value::kArray); }
    bool Key(const char* text, rapidjson::SizeType length, bool);
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

    // --- Outcome ---------------------------------------------------------------

    // The first JSON fault found by the handler itself (nesting, duplicate).
    const std::string& jsonFault() const { return jsonFault_; }
    // The first fault of meaning, or empty; call after the last event.
    std::string Finish();

private:
    enum class Value : uint8_t { kNull, kBool, kNumber, kString, kObject, kArray };

    static constexpr std::size_t kNoScope = ~std::size_t{0};

    struct Container {
        Frame frame;
        Member member = Member::kNone;  // of the key last read, in objects
        bool object = false;            // an object, not an array
        uint8_t knownSeen = 0;          // known members read, one bit each
        std::size_t count = 0;          // members or elements so far
        std::size_t start = 0;          // offset of the opening bracket
        std::size_t scope = kNoScope;   // its KeyScope, once it has an unknown key
    };

    bool Scalar(Value kind, std::string_view text);
    bool Open(Value kind);
    bool Close();
    // Where a value of kind lands, given the container it is in; pushes
    // nothing. Returns the frame to open for a container value.
    Frame Place(Value kind, std::string_view text);
    Frame PlaceInArt(Member member, Value kind, std::string_view text);
    Frame PlaceInSegment(Member member, Value kind);
    Frame PlaceInFill(Member member, Value kind, std::string_view text);
    void Number(Value kind, std::string_view text, const What& what, float& out,
                std::string& fault);
    void CloseArt(const Container& open);
    void CloseSegment();
    void ClosePoint(const Container& open);

    // Copying values as text.
    void CaptureMember(std::string* into, std::string_view name);
    void CaptureScalar(Value kind, std::string_view text);
    void CaptureOpen(Value kind);

    void AppendString(std::string_view text, std::string& out);

    // Faults.
    std::string ArtWhere() const;
    std::string SegmentWhere() const;
    void ArtFault(const std::string& message);  // counts if the art is a path
    void DocumentFault(const std::string& message);

    std::string_view text_;
    const std::string& fileName_;
    const SourceStream& stream_;
    DocumentFile& file_;

    std::vector<Container> open_;
    // Where each known member's key ended in the open object at each depth,
    // by KnownSlot, to name the first of a repeat (valid by knownSeen).
    std::vector<std::array<std::size_t, 5>> knownAt_;
    std::vector<KeyScope> scopes_;  // reused; one per open object
    std::size_t scopesInUse_ = 0;
    bool boolValue_ = false;
    bool rootSeen_ = false;
    bool artSeen_ = false;  // the root's "art" member

    // The art being read.
    headless::Art* art_ = nullptr;
    std::size_t artIndex_ = 0;
    std::optional<bool> isPath_;  // from "type", once read
    std::string artFault_;
    std::size_t segmentCount_ = 0;       // segments seen, also past the limit
    std::vector<PathSegment> segments_;  // the path's segments read so far
    // The segment being read.
    PathSegment segment_{};
    std::array<bool, 3> pointSeen_{};  // p, in, out
    std::string segmentMembers_;
    // The point or fill levels being read.
    std::array<float, 4> numbers_{};
    // The last x and y read well, with their text (a view of the input).
    struct LastNumber {
        std::string_view text;
        float value = 0.0f;
    };
    std::array<LastNumber, 2> lastCoordinate_{};
    std::string elementFault_;
    std::size_t fillLevels_ = 0;  // levels of the fill kind being read

    // Where text copied from unknown members goes.
    std::string* capture_ = nullptr;

    std::string jsonFault_;
    std::string documentFault_;
};

// --- Keys ----------------------------------------------------------------------

// Two short texts alike, without a call to the library's compare.
bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// A key against a literal: a length test, then a compare of known size that
// the compiler does inline.
template <std::size_t N>
bool Is(std::string_view name, const char (&literal)[N]) {
    return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}

Member ArtMember(std::string_view name) {
    if (Is(name, "type")) return Member::kType;
    if (Is(name, "selected")) return Member::kSelected;
    if (Is(name, "closed")) return Member::kClosed;
    if (Is(name, "fill")) return Member::kFill;
    if (Is(name, "segments")) return Member::kSegments;
    return Member::kUnknown;
}

Member SegmentMember(std::string_view name) {
    if (Is(name, "p")) return Member::kP;
    if (Is(name, "in")) return Member::kIn;
    if (Is(name, "out")) return Member::kOut;
    if (Is(name, "corner")) return Member::kCorner;
    return Member::kUnknown;
}

Member FillMember(std::string_view name) {
    if (Is(name, "gray")) return Member::kGray;
    if (Is(name, "rgb")) return Member::kRgb;
    if (Is(name, "cmyk")) return Member::kCmyk;
    return Member::kUnknown;
}

// The slot of a known member among those of its object (at most five).
std::size_t KnownSlot(Member member) {
    switch (member) {
        case Member::kType:
        case Member::kP:
        case Member::kArt:
        case Member::kGray:
            return 0;
        case Member::kSelected:
        case Member::kIn:
        case Member::kRgb:
            return 1;
        case Member::kClosed:
        case Member::kOut:
        case Member::kCmyk:
            return 2;
        case Member::kFill:
        case Member::kCorner:
            return 3;
        default:
            return 4;  // kSegments
    }
}

bool DocumentHandler::Key(const char* text, rapidjson::SizeType length, bool) {
    const std::string_view name(text, length);
    Container& open = open_.back();
    const std::size_t end = stream_.Tell();
    Member member = Member::kUnknown;
    switch (open.frame) {
        case Frame::kRoot:
            member = Is(name, "art") ? Member::kArt : Member::kUnknown;
            break;
        case Frame::kArt:
            member = ArtMember(name);
            break;
        case Frame::kSegment:
            member = SegmentMember(name);
            break;
        case Frame::kFill:
            member = FillMember(name);
            break;
        default:
            break;
    }
    // A repeat: known members by a bit each, other names by the object's
    // scope (a known name never equals an unknown one).
    std::optional<std::size_t> earlier;
    if (member != Member::kUnknown) {
        const std::size_t slot = KnownSlot(member);
        const auto bit = static_cast<uint8_t>(1u << slot);
        if ((open.knownSeen & bit) != 0) {
            earlier = knownAt_[open_.size() - 1][slot];
        } else {
            open.knownSeen |= bit;
            knownAt_[open_.size() - 1][slot] = end;
        }
    } else {
        if (open.scope == kNoScope) {
            // Keys come only while the object's children are closed, so the
            // scopes in use are those of the open objects below it.
            if (scopesInUse_ == scopes_.size()) scopes_.emplace_back();
            scopes_[scopesInUse_].Clear();
            open.scope = scopesInUse_++;
        }
        earlier = scopes_[open.scope].Add(name, end);
    }
    if (earlier) {
        jsonFault_ = fileName_ + ":" + PlaceText(text_, StringStart(text_, end)) +
                     ": duplicate key \"" + std::string(name) +
                     "\" in one object; the first is at " +
                     PlaceText(text_, StringStart(text_, *earlier)) + " (remove or rename one)";
        return false;
    }
    ++open.count;
    switch (open.frame) {
        case Frame::kRoot:
            open.member = member;
            if (member == Member::kUnknown) CaptureMember(&file_.members, name);
            break;
        case Frame::kArt:
            open.member = member;
            if (member == Member::kUnknown) CaptureMember(&art_->passthrough, name);
            break;
        case Frame::kSegment:
            open.member = member;
            if (member == Member::kUnknown) CaptureMember(&segmentMembers_, name);
            break;
        case Frame::kFill:
            open.member = member;
            break;
        case Frame::kCapture:
            if (open.count > 1) *capture_ += ", ";
            AppendString(name, *capture_);
            *capture_ += ": ";
            break;
        default:
            break;
    }
    return true;
}

// --- Values --------------------------------------------------------------------

bool DocumentHandler::Scalar(Value kind, std::string_view text) {
    if (open_.empty()) {
        DocumentFault("the document must be a JSON object with an \"art\" array");
        return true;
    }
    Place(kind, text);
    return true;
}

bool DocumentHandler::Open(Value kind) {
    if (open_.size() >= kMaxDepth) {
        jsonFault_ =
            fileName_ + ": JSON nested deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    Frame frame = Frame::kSkip;
    if (open_.empty()) {
        if (kind == Value::kObject) {
            frame = Frame::kRoot;
            rootSeen_ = true;
        } else {
            DocumentFault("the document must be a JSON object with an \"art\" array");
        }
    } else {
        frame = Place(kind, {});
    }
    Container& open = open_.emplace_back();
    if (knownAt_.size() < open_.size()) knownAt_.resize(open_.size());
    open.frame = frame;
    open.start = stream_.Tell() - 1;  // called once the bracket is taken
    open.object = kind == Value::kObject;
    if (frame == Frame::kCapture) CaptureOpen(kind);
    return true;
}

Frame DocumentHandler::Place(Value kind, std::string_view text) {
    Container& parent = open_.back();
    const bool container = kind == Value::kObject || kind == Value::kArray;
    switch (parent.frame) {
        case Frame::kRoot:
            if (parent.member == Member::kArt) {
                artSeen_ = true;
                if (kind == Value::kArray) return Frame::kArtList;
                DocumentFault("the document must have an \"art\" array at its top level");
                return Frame::kSkip;
            }
            break;  // captured below
        case Frame::kArtList: {
            artIndex_ = parent.count++;
            if (kind != Value::kObject) {
                DocumentFault("art[" + std::to_string(artIndex_) +
                              "]: an art object must be a JSON object");
                return Frame::kSkip;
            }
            art_ = &file_.document.art.emplace_back();
            segments_.clear();
            isPath_.reset();
            artFault_.clear();
            segmentCount_ = 0;
            return Frame::kArt;
        }
        case Frame::kArt:
            if (parent.member != Member::kUnknown) return PlaceInArt(parent.member, kind, text);
            break;
        case Frame::kSegments: {
            ++parent.count;
            if (segmentCount_++ >= static_cast<std::size_t>(headless::kMaxSegments)) {
                return Frame::kSkip;  // counted; refused when the list closes
            }
            if (kind != Value::kObject) {
                ArtFault(SegmentWhere() + ": a segment must be an object");
                return Frame::kSkip;
            }
            segment_ = PathSegment{};
            segment_.corner = 1;
            pointSeen_ = {};
            segmentMembers_.clear();
            return Frame::kSegment;
        }
        case Frame::kSegment:
            if (parent.member != Member::kUnknown) return PlaceInSegment(parent.member, kind);
            break;
        case Frame::kFill:
            return PlaceInFill(parent.member, kind, text);
        case Frame::kPoint: {
            const std::size_t index = parent.count++;
            if (index < 2) {
                // Handles often sit on their anchor: the same text, read once.
                LastNumber& last = lastCoordinate_[index];
                if (kind == Value::kNumber && elementFault_.empty() && SameText(text, last.text)) {
                    numbers_[index] = last.value;
                } else {
                    const auto member = open_[open_.size() - 2].member;
                    const char* name = member == Member::kP    ? "p"
                                       : member == Member::kIn ? "in"
                                                               : "out";
                    Number(kind, text, What{"\"", name, index == 0 ? "\" x" : "\" y"},
                           numbers_[index], elementFault_);
                    if (kind == Value::kNumber && elementFault_.empty())
                        last = {text, numbers_[index]};
                }
            }
            return container ? Frame::kSkip : Frame::kPoint;
        }
        case Frame::kLevels: {
            const std::size_t index = parent.count++;
            if (index < fillLevels_) {
                const auto member = open_[open_.size() - 2].member;
                Number(kind, text, What{"fill \"", member == Member::kRgb ? "rgb" : "cmyk", "\""},
                       numbers_[index], elementFault_);
            }
            return container ? Frame::kSkip : Frame::kLevels;
        }
        case Frame::kCapture:
            if (container) return Frame::kCapture;
            CaptureScalar(kind, text);
            return Frame::kCapture;
        case Frame::kSkip:
            return Frame::kSkip;
    }
    // An unknown member's value: copied as text.
    if (container) return Frame::kCapture;
    CaptureScalar(kind, text);
    return Frame::kCapture;
}

Frame DocumentHandler::PlaceInArt(Member member, Value kind, std::string_view text) {
    switch (member) {
        case Member::kType:
            if (kind != Value::kString) {
                ArtFault(ArtWhere() + ": \"type\" must be a string");
                isPath_ = true;  // the fault counts
            } else {
                isPath_ = Is(text, "path");
            }
            break;
        case Member::kSelected:
        case Member::kClosed: {
            const bool selected = member == Member::kSelected;
            if (kind != Value::kBool) {
                ArtFault(ArtWhere() + ": \"" + (selected ? "selected" : "closed") +
                         "\" must be true or false");
            } else {
                (selected ? art_->selected : art_->closed) = boolValue_;
            }
            break;
        }
        case Member::kFill:
            if (kind == Value::kNull) break;  // no fill paint
            if (kind == Value::kObject) return Frame::kFill;
            ArtFault(ArtWhere() + kFillShape);
            break;
        case Member::kSegments:
            if (kind == Value::kArray) return Frame::kSegments;
            ArtFault(ArtWhere() + ": \"segments\" must be an array");
            break;
        default:
            break;
    }
    return Frame::kSkip;
}

Frame DocumentHandler::PlaceInSegment(Member member, Value kind) {
    if (member == Member::kCorner) {
        if (kind == Value::kBool) {
            segment_.corner = boolValue_ ? 1 : 0;
        } else {
            ArtFault(SegmentWhere() + ": \"corner\" must be true or false");
        }
        return Frame::kSkip;
    }
    const char* name = member == Member::kP ? "p" : member == Member::kIn ? "in" : "out";
    if (kind != Value::kArray) {
        ArtFault(SegmentWhere() + ": \"" + name + "\" must be [x, y]");
        return Frame::kSkip;
    }
    elementFault_.clear();
    return Frame::kPoint;
}

Frame DocumentHandler::PlaceInFill(Member member, Value kind, std::string_view text) {
    Container& fill = open_.back();
    if (member == Member::kUnknown || fill.count > 1) {
        ArtFault(ArtWhere() + kFillShape);
        return Frame::kSkip;
    }
    const FillKind& fillKind = kFillKinds[member == Member::kGray  ? 0
                                          : member == Member::kRgb ? 1
                                                                   : 2];
    art_->style.fillPaint = 1;
    art_->style.fillColorKind = fillKind.code;
    if (fillKind.levels == 1) {
        std::string fault;
        Number(kind, text, What{"fill \"gray\""}, art_->style.fillColor[0], fault);
        if (!fault.empty()) ArtFault(ArtWhere() + ": " + fault);
        return Frame::kSkip;
    }
    if (kind != Value::kArray) {
        ArtFault(ArtWhere() + ": fill \"" + fillKind.name + "\" must be an array of " +
                 std::to_string(fillKind.levels) + " numbers");
        return Frame::kSkip;
    }
    fillLevels_ = fillKind.levels;
    elementFault_.clear();
    return Frame::kLevels;
}

// Reads a number as a float; a fault goes to fault (the first one kept).
void DocumentHandler::Number(Value kind, std::string_view text, const What& what, float& out,
                             std::string& fault) {
    if (!fault.empty()) return;
    if (kind != Value::kNumber) {
        fault = what.Text() + " must be a number";
        return;
    }
    float value = 0.0f;
    const FloatParse parse = ParseFloat(text, value);
    if (parse == FloatParse::kOutOfRange || (parse == FloatParse::kOk && !std::isfinite(value))) {
        fault = what.Text() + " " + std::string(text) + " is out of float range";
        return;
    }
    if (parse != FloatParse::kOk) {
        fault = what.Text() + " " + std::string(text) + " is not a number";
        return;
    }
    // An integer is an integer: "-0" is zero, as its integer value.
    if (value == 0.0f && text.find_first_of(".eE") == std::string_view::npos) value = 0.0f;
    out = value;
}

// --- Closing containers ---------------------------------------------------------

bool DocumentHandler::Close() {
    const Container open = open_.back();
    open_.pop_back();
    if (open.scope != kNoScope) --scopesInUse_;
    switch (open.frame) {
        case Frame::kRoot:
            if (!artSeen_)
                DocumentFault("the document must have an \"art\" array at its top level");
            break;
        case Frame::kArt:
            // Collected apart, so each path's segments take one exact block.
            art_->segments.assign(segments_.begin(), segments_.end());
            CloseArt(open);
            break;
        case Frame::kFill:
            if (open.count == 0) {
                ArtFault(ArtWhere() + kFillShape);
            }
            break;
        case Frame::kSegments:
            if (segmentCount_ > static_cast<std::size_t>(headless::kMaxSegments)) {
                ArtFault(ArtWhere() + ": the path has " + std::to_string(segmentCount_) +
                         " segments; a path holds at most " +
                         std::to_string(headless::kMaxSegments));
            }
            break;
        case Frame::kSegment:
            CloseSegment();
            break;
        case Frame::kPoint:
            ClosePoint(open);
            break;
        case Frame::kLevels: {
            const auto member = open_.back().member;
            const FillKind& kind = kFillKinds[member == Member::kRgb ? 1 : 2];
            if (open.count != kind.levels) {
                ArtFault(ArtWhere() + ": fill \"" + kind.name + "\" must be an array of " +
                         std::to_string(kind.levels) + " numbers");
            } else if (!elementFault_.empty()) {
                ArtFault(ArtWhere() + ": " + elementFault_);
            } else {
                std::memcpy(art_->style.fillColor, numbers_.data(), kind.levels * sizeof(float));
            }
            break;
        }
        case Frame::kCapture:
            *capture_ += open.object ? '}' : ']';
            break;
        case Frame::kArtList:
        case Frame::kSkip:
            break;
    }
    return true;
}

void DocumentHandler::ClosePoint(const Container& open) {
    const Member member = open_.back().member;
    const char* name = member == Member::kP ? "p" : member == Member::kIn ? "in" : "out";
    if (open.count != 2) {
        ArtFault(SegmentWhere() + ": \"" + name + "\" must be [x, y]");
        return;
    }
    if (!elementFault_.empty()) {
        ArtFault(SegmentWhere() + ": " + elementFault_);
        return;
    }
    const RealPoint point{numbers_[0], numbers_[1]};
    const std::size_t which = member == Member::kP ? 0 : member == Member::kIn ? 1 : 2;
    pointSeen_[which] = true;
    (which == 0 ? segment_.p : which == 1 ? segment_.in : segment_.out) = point;
}

void DocumentHandler::CloseSegment() {
    if (!pointSeen_[0]) {
        ArtFault(SegmentWhere() + ": \"p\" is missing");
        return;
    }
    if (!pointSeen_[1]) segment_.in = segment_.p;
    if (!pointSeen_[2]) segment_.out = segment_.p;
    segments_.push_back(segment_);
    if (!segmentMembers_.empty()) {
        auto& members = file_.segmentMembers;
        if (members.size() <= artIndex_) members.resize(artIndex_ + 1);
        auto& ofArt = members[artIndex_];
        if (ofArt.size() < segments_.size()) ofArt.resize(segments_.size());
        ofArt.back() = std::move(segmentMembers_);
        segmentMembers_.clear();
    }
}

void DocumentHandler::CloseArt(const Container& open) {
    if (isPath_.value_or(true)) {
        if (!artFault_.empty()) DocumentFault(artFault_);
        return;
    }
    // Not a path: kept whole, whatever it holds, as compact text. Rare, so
    // its text is simply read again as a tree.
    headless::Art kept;
    kept.type = kOtherArt;
    kept.passthrough =
        JsonText(ParseJsonTree(text_.substr(open.start, stream_.Tell() - open.start), fileName_));
    *art_ = std::move(kept);
    if (artIndex_ < file_.segmentMembers.size()) file_.segmentMembers[artIndex_].clear();
}

// --- Capture ----------------------------------------------------------------------

void DocumentHandler::CaptureMember(std::string* into, std::string_view name) {
    capture_ = into;
    if (!into->empty()) *into += ", ";
    AppendString(name, *into);
    *into += ": ";
}

void DocumentHandler::CaptureScalar(Value kind, std::string_view text) {
    Container& parent = open_.back();
    if (parent.frame == Frame::kCapture && !parent.object && parent.count++ > 0) *capture_ += ", ";
    if (kind == Value::kString) {
        AppendString(text, *capture_);
    } else {
        *capture_ += text;
    }
}

void DocumentHandler::CaptureOpen(Value kind) {
    Container& parent = open_[open_.size() - 2];
    if (parent.frame == Frame::kCapture && !parent.object && parent.count++ > 0) *capture_ += ", ";
    *capture_ += kind == Value::kObject ? '{' : '[';
}

void DocumentHandler::AppendString(std::string_view text, std::string& out) {
    AppendJsonString(std::string(text), out);
}

// --- Faults -----------------------------------------------------------------------

std::string DocumentHandler::ArtWhere() const { return "art[" + std::to_string(artIndex_) + "]"; }

std::string DocumentHandler::SegmentWhere() const {
    return ArtWhere() + ".segments[" + std::to_string(segmentCount_ - 1) + "]";
}

void DocumentHandler::ArtFault(const std::string& message) {
    if (artFault_.empty()) artFault_ = message;
}

void DocumentHandler::DocumentFault(const std::string& message) {
    if (documentFault_.empty()) documentFault_ = fileName_ + ": " + message;
}

std::string DocumentHandler::Finish() { return documentFault_; }

}  // namespace

DocumentFile ReadDocumentJson(std::string_view text, const std::string& fileName) {
    DocumentFile file;
    SourceStream stream(text);
    DocumentHandler handler(text, fileName, stream, file);
    Reader reader;
    const rapidjson::ParseResult result = reader.Parse<kParseFlags>(stream, handler);
    if (!handler.jsonFault().empty()) throw InputError(handler.jsonFault());
    const auto skipSpace = [text](std::size_t at) {
        while (at < text.size() &&
               (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r'))
            ++at;
        return at;
    };
    std::size_t faultAt = result.Offset();
    rapidjson::ParseErrorCode code = result.Code();
    // A text that starts with a closing bracket or a separator is told as
    // empty, as the documents' messages have always said.
    if (code == rapidjson::kParseErrorValueInvalid && faultAt == skipSpace(0) &&
        faultAt < text.size() &&
        (text[faultAt] == '}' || text[faultAt] == ']' || text[faultAt] == ':' ||
         text[faultAt] == ','))
        code = rapidjson::kParseErrorDocumentEmpty;
    std::string reason = result.IsError() ? rapidjson::GetParseError_En(code) : "";
    if (!result.IsError()) {
        // One value and nothing after it but white space.
        const std::size_t end = skipSpace(stream.Tell());
        if (end < text.size()) {
            faultAt = end;
            reason = "The document root must not be followed by other values.";
        }
    }
    if (!reason.empty()) {
        const TextPlace place = PlaceOfByte(text, faultAt + 1);
        throw InputError(fileName + ":" + std::to_string(place.line) + ":" +
                         std::to_string(place.column) + ": malformed JSON: " + reason);
    }
    const std::string fault = handler.Finish();
    if (!fault.empty()) throw InputError(fault);
    return file;
}

}  // namespace cli
