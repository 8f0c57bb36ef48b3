// Writing an SVG document back with the run's changes.
#include <cstring>
#include <stdexcept>

#include "cli/SvgWriter.h"
#include "cli/svg/PathData.h"
#include "cli/svg/Shapes.h"
#include "cli/svg/SvgDocument.h"

namespace cli {

using namespace svg;

namespace {

// What an editor keeps beside d to rebuild a shape or list its nodes; left
// as it was it would undo the move or describe nodes that are gone.
constexpr const char* kShapeParameters[] = {
    "sodipodi:type",       "sodipodi:cx",        "sodipodi:cy",         "sodipodi:rx",
    "sodipodi:ry",         "sodipodi:start",     "sodipodi:end",        "sodipodi:open",
    "sodipodi:arc-type",   "sodipodi:sides",     "sodipodi:r1",         "sodipodi:r2",
    "sodipodi:arg1",       "sodipodi:arg2",      "inkscape:flatsided",  "inkscape:rounded",
    "inkscape:randomized", "sodipodi:expansion", "sodipodi:revolution", "sodipodi:radius",
    "sodipodi:argument",   "sodipodi:t0"};

std::string ElementPathData(const SvgDocumentFile& file, const SvgPathElement& element) {
    const Geom::Affine toLocal = file.transforms[element.transform].inverse();
    const auto local = [&](const RealPoint& p) { return Geom::Point(p.h, p.v) * toLocal; };
    std::string d;
    Subpath subpath;
    for (std::size_t a = element.firstArt; a < element.firstArt + element.artCount; ++a) {
        const headless::Art& art = file.document.art[a];
        subpath.closed = art.closed;
        subpath.nodes.clear();
        subpath.nodes.reserve(art.segments.size());
        for (const PathSegment& segment : art.segments) {
            subpath.nodes.push_back({local(segment.in), local(segment.p), local(segment.out)});
        }
        AppendPathData(subpath, d);
    }
    return d;
}

void WriteGeometry(const SvgDocumentFile& file, const SvgPathElement& element) {
    pugi::xml_node node = element.node;
    const std::string d = ElementPathData(file, element);
    if (element.type == "path") {
        node.attribute("d").set_value(d.c_str());
    } else {
        // A shape that moved is a path now, with all its other attributes.
        pugi::xml_attribute first;
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (IsShapeGeometryAttribute(element.type, attribute.name())) {
                first = attribute;
                break;
            }
        }
        pugi::xml_attribute data = node.attribute("d");  // written already: once only
        if (!data)
            data = first ? node.insert_attribute_before("d", first) : node.append_attribute("d");
        data.set_value(d.c_str());
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;) {
            const pugi::xml_attribute next = attribute.next_attribute();
            if (IsShapeGeometryAttribute(element.type, attribute.name())) {
                node.remove_attribute(attribute);
            }
            attribute = next;
        }
        const std::string_view name = node.name();
        node.set_name(name.substr(0, 4) == "svg:" ? "svg:path" : "path");
    }
    if (node.attribute("sodipodi:type")) {
        for (const char* name : kShapeParameters) node.remove_attribute(name);
    }
    if (element.hadArcs) node.remove_attribute("sodipodi:nodetypes");
}

struct StringWriter final : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

std::string SetStyleProperty(std::string_view style, std::string_view name,
                             std::string_view value) {
    const auto trimmed = [](std::string_view text) {
        while (!text.empty() && std::strchr(" \t\r\n", text.front())) text.remove_prefix(1);
        while (!text.empty() && std::strchr(" \t\r\n", text.back())) text.remove_suffix(1);
        return text;
    };
    const std::string declaration = std::string(name) + ":" + std::string(value);
    std::string out;
    bool replaced = false;
    std::size_t at = 0;
    while (at <= style.size()) {
        std::size_t end = style.find(';', at);
        if (end == std::string_view::npos) end = style.size();
        const std::string_view item = style.substr(at, end - at);
        const std::size_t colon = item.find(':');
        const bool match =
            colon != std::string_view::npos && trimmed(item.substr(0, colon)) == name;
        if (match) {
            // Every declaration of it goes; the new one stands where the first was.
            if (!replaced) {
                out += item.substr(0, item.find_first_not_of(" \t\r\n"));
                out += declaration;
                out += ';';
                replaced = true;
            }
        } else if (!trimmed(item).empty()) {
            out += item;
            out += ';';
        }
        at = end + 1;
    }
    if (!replaced) out += declaration + ";";
    out.pop_back();  // no ';' after the last declaration
    return out;
}

namespace {

// True when the element's paths hold exactly the anchors it gives when read
// again: the check behind a path whose hash says it may be unmoved.
bool SameAsRead(const SvgDocumentFile& file, const SvgPathElement& element) {
    const PathGeometry geometry = element.type == "path"
                                      ? ParsePathData(element.node.attribute("d").value())
                                      : ShapeGeometry(element.node, element.type);
    if (geometry.subpaths.size() != element.artCount) return false;
    const Geom::Affine& toRoot = file.transforms[element.transform];
    const auto same = [&](const RealPoint& a, const Geom::Point& b) {
        const RealPoint p = HostPoint(b * toRoot);
        return a.h == p.h && a.v == p.v;
    };
    for (std::size_t i = 0; i < geometry.subpaths.size(); ++i) {
        const std::vector<Node>& nodes = geometry.subpaths[i].nodes;
        const std::vector<PathSegment>& segments = file.document.art[element.firstArt + i].segments;
        if (nodes.size() != segments.size()) return false;
        for (std::size_t s = 0; s < nodes.size(); ++s) {
            if (!same(segments[s].p, nodes[s].p) || !same(segments[s].in, nodes[s].in) ||
                !same(segments[s].out, nodes[s].out)) {
                return false;
            }
        }
    }
    return true;
}

// Puts the run's changes into the tree: new path data for every element whose
// paths moved, the new fill into the style of every one recoloured.
void ApplyChanges(const SvgDocumentFile& file) {
    if (!file.xml) throw std::logic_error("an SVG written with its markup set aside");
    for (const SvgPathElement& element : file.elements) {
        bool moved = false;
        const PathStyle* recoloured = nullptr;
        for (std::size_t a = element.firstArt; a < element.firstArt + element.artCount; ++a) {
            const headless::Art& now = file.document.art[a];
            moved = moved || !file.asRead.MaybeUnmoved(a, now);
            if (file.asRead.Recoloured(a, now.style)) recoloured = &now.style;  // the last one wins
        }
        if (moved || !SameAsRead(file, element)) WriteGeometry(file, element);
        if (recoloured != nullptr) {
            pugi::xml_node node = element.node;
            pugi::xml_attribute style = node.attribute("style");
            if (!style) style = node.append_attribute("style");
            // Against an !important fill only an !important one wins.
            const std::string gray =
                SvgFill(*recoloured) + (element.fillImportant ? " !important" : "");
            style.set_value(SetStyleProperty(style.value(), "fill", gray).c_str());
        }
    }
}

void Print(const SvgDocumentFile& file, pugi::xml_writer& writer) {
    // The parser keeps no text outside the root element: the declaration,
    // comments and the root go on lines of their own, as editors write them.
    for (pugi::xml_node node = file.xml->first_child(); node; node = node.next_sibling()) {
        node.print(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
        writer.write("\n", 1);
    }
}

}  // namespace

std::string WriteDocumentSvg(const SvgDocumentFile& file) {
    ApplyChanges(file);
    StringWriter writer;
    writer.out.reserve(file.sourceBytes + file.sourceBytes / 8);
    Print(file, writer);
    return std::move(writer.out);
}

void WriteDocumentSvg(const SvgDocumentFile& file, std::ostream& stream) {
    ApplyChanges(file);
    pugi::xml_writer_stream writer(stream);
    Print(file, writer);
}

}  // namespace cli
