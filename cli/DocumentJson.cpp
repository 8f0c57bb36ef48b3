#include "cli/DocumentJson.h"

#include <cmath>

#include "cli/FloatText.h"
#include "cli/InputError.h"
#include "cli/JsonTree.h"

namespace cli {

namespace {

// Where in the document a value sits, for messages: "in.json: art[3].segments[5]".
class Where {
public:
    explicit Where(std::string fileName) : text_(std::move(fileName)) {}
    Where Art(std::size_t index) const {
        return Where(text_ + ": art[" + std::to_string(index) + "]");
    }
    Where Segment(std::size_t index) const {
        return Where(text_ + ".segments[" + std::to_string(index) + "]");
    }
    [[noreturn]] void Fail(const std::string& message) const {
        throw InputError(text_ + ": " + message);
    }

private:
    std::string text_;
};

float ReadFloat(const JsonTree& value, const Where& where, const std::string& what) {
    if (!IsJsonNumber(value)) where.Fail(what + " must be a number");
    if (value.is_number_integer()) {
        // Every 64-bit integer is in float range; the conversion rounds once.
        return value.is_number_unsigned() ? static_cast<float>(value.get<std::uint64_t>())
                                          : static_cast<float>(value.get<std::int64_t>());
    }
    const std::string text = JsonNumberText(value);
    float result = 0.0f;
    const FloatParse parse = ParseFloat(text, result);
    if (parse == FloatParse::kOutOfRange || (parse == FloatParse::kOk && !std::isfinite(result))) {
        where.Fail(what + " " + text + " is out of float range");
    }
    if (parse != FloatParse::kOk) where.Fail(what + " " + text + " is not a number");
    return result;
}

bool ReadBool(const JsonTree& object, const char* name, bool fallback, const Where& where) {
    const auto it = object.find(name);
    if (it == object.end()) return fallback;
    if (!it->is_boolean()) where.Fail(std::string("\"") + name + "\" must be true or false");
    return it->get<bool>();
}

RealPoint ReadPoint(const JsonTree& value, const Where& where, const char* name) {
    const std::string what = std::string("\"") + name + "\"";
    if (!value.is_array() || value.size() != 2) where.Fail(what + " must be [x, y]");
    return {ReadFloat(value[0], where, what + " x"), ReadFloat(value[1], where, what + " y")};
}

void ReadLevels(const JsonTree& value, const char* name, std::size_t count, PathStyle& style,
                const Where& where) {
    const std::string what = std::string("fill \"") + name + "\"";
    if (count == 1) {
        style.fillColor[0] = ReadFloat(value, where, what);
        return;
    }
    if (!value.is_array() || value.size() != count) {
        where.Fail(what + " must be an array of " + std::to_string(count) + " numbers");
    }
    for (std::size_t i = 0; i < count; ++i) style.fillColor[i] = ReadFloat(value[i], where, what);
}

void ReadFill(const JsonTree& object, PathStyle& style, const Where& where) {
    const auto it = object.find("fill");
    if (it == object.end() || it->is_null()) return;  // no fill paint
    struct Kind {
        const char* name;
        int32_t code;
        std::size_t levels;
    };
    static constexpr Kind kKinds[] = {
        {"gray", kGrayColor, 1}, {"rgb", kThreeColor, 3}, {"cmyk", kFourColor, 4}};
    if (it->is_object() && it->size() == 1) {
        for (const Kind& kind : kKinds) {
            const auto level = it->find(kind.name);
            if (level == it->end()) continue;
            style.fillPaint = 1;
            style.fillColorKind = kind.code;
            ReadLevels(*level, kind.name, kind.levels, style, where);
            return;
        }
    }
    where.Fail(
        "\"fill\" must be null, {\"gray\": g}, {\"rgb\": [r, g, b]} or {\"cmyk\": [c, m, y, k]}");
}

// The "name": value text of an object's members, without the braces.
std::string MemberText(const JsonTree& object) {
    const std::string text = JsonText(object);
    return text.substr(1, text.size() - 2);
}

PathSegment ReadSegment(const JsonTree& value, const Where& where, std::string& members) {
    if (!value.is_object()) where.Fail("a segment must be an object");
    const auto p = value.find("p");
    if (p == value.end()) where.Fail("\"p\" is missing");
    PathSegment segment{};
    segment.p = ReadPoint(*p, where, "p");
    const auto in = value.find("in");
    segment.in = in == value.end() ? segment.p : ReadPoint(*in, where, "in");
    const auto out = value.find("out");
    segment.out = out == value.end() ? segment.p : ReadPoint(*out, where, "out");
    segment.corner = ReadBool(value, "corner", true, where) ? 1 : 0;

    JsonTree unknown = JsonTree::object();
    for (const auto& [name, item] : value.items()) {
        if (name != "p" && name != "in" && name != "out" && name != "corner") unknown[name] = item;
    }
    members = unknown.empty() ? std::string() : MemberText(unknown);
    return segment;
}

headless::Art ReadArt(const JsonTree& value, const Where& where,
                      std::vector<std::string>& segmentMembers) {
    if (!value.is_object()) where.Fail("an art object must be a JSON object");
    headless::Art art;
    const auto type = value.find("type");
    if (type != value.end()) {
        if (!type->is_string()) where.Fail("\"type\" must be a string");
        if (type->get_ref<const std::string&>() != "path") {
            art.type = kOtherArt;
            art.passthrough = JsonText(value);
            return art;
        }
    }
    art.selected = ReadBool(value, "selected", true, where);
    art.closed = ReadBool(value, "closed", true, where);
    ReadFill(value, art.style, where);

    const auto segments = value.find("segments");
    if (segments != value.end()) {
        if (!segments->is_array()) where.Fail("\"segments\" must be an array");
        if (segments->size() > static_cast<std::size_t>(headless::kMaxSegments)) {
            where.Fail("the path has " + std::to_string(segments->size()) +
                       " segments; a path holds at most " + std::to_string(headless::kMaxSegments));
        }
        art.segments.reserve(segments->size());
        segmentMembers.resize(segments->size());
        for (std::size_t s = 0; s < segments->size(); ++s) {
            art.segments.push_back(
                ReadSegment((*segments)[s], where.Segment(s), segmentMembers[s]));
        }
    }

    JsonTree unknown = JsonTree::object();
    for (const auto& [name, item] : value.items()) {
        if (name != "type" && name != "selected" && name != "closed" && name != "fill" &&
            name != "segments") {
            unknown[name] = item;
        }
    }
    if (!unknown.empty()) art.passthrough = MemberText(unknown);
    return art;
}

void AppendPoint(const RealPoint& point, std::string& out) {
    out += '[';
    out += FloatText(point.h);
    out += ", ";
    out += FloatText(point.v);
    out += ']';
}

void AppendLevels(const float* levels, std::size_t count, std::string& out) {
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ", ";
        out += FloatText(levels[i]);
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
        out += "{\"gray\": " + FloatText(style.fillColor[0]) + "}";
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
    if (!art.passthrough.empty()) out += ", " + art.passthrough;
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
            out += ", " + (*segmentMembers)[s];
        }
        out += '}';
    }
    if (!art.segments.empty()) out += "\n    ";
    out += "]}";
}

}  // namespace

DocumentFile ReadDocumentJson(std::string_view text, const std::string& fileName) {
    const JsonTree root = ParseJsonTree(text, fileName);
    const Where where(fileName);
    if (!root.is_object()) where.Fail("the document must be a JSON object with an \"art\" array");
    const auto art = root.find("art");
    if (art == root.end() || !art->is_array()) {
        where.Fail("the document must have an \"art\" array at its top level");
    }
    DocumentFile file;
    file.segmentMembers.resize(art->size());
    file.document.art.reserve(art->size());
    for (std::size_t a = 0; a < art->size(); ++a) {
        file.document.art.push_back(ReadArt((*art)[a], where.Art(a), file.segmentMembers[a]));
    }
    JsonTree unknown = JsonTree::object();
    for (const auto& [name, item] : root.items()) {
        if (name != "art") unknown[name] = item;
    }
    if (!unknown.empty()) file.members = MemberText(unknown);
    return file;
}

std::string WriteDocumentJson(const DocumentFile& file) {
    std::string out = "{\n  \"art\": [";
    const auto& art = file.document.art;
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
    }
    if (!art.empty()) out += "\n  ";
    out += "]";
    if (!file.members.empty()) out += ",\n  " + file.members;
    out += "\n}\n";
    return out;
}

std::string WriteDocumentJson(const headless::Document& document) {
    DocumentFile file;
    file.document = document;
    return WriteDocumentJson(file);
}

}  // namespace cli
