// Reading an SVG document into the host's document.
#include <2geom/point.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "cli/InputError.h"
#include "cli/JsonTree.h"
#include "cli/svg/Css.h"
#include "cli/svg/Paint.h"
#include "cli/svg/PathData.h"
#include "cli/svg/Shapes.h"
#include "cli/svg/SvgDocument.h"
#include "cli/svg/Transform.h"

namespace cli {

using namespace svg;

namespace {

constexpr int kMaxDepth = 1000;

std::string_view LocalName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos) return name;
    if (name.substr(0, colon) == "svg") return name.substr(colon + 1);
    return {};  // another namespace's element: an editor's, never drawn
}

// Containers whose content the canvas does not show as it stands.
bool IsHiddenContainer(std::string_view type) {
    return type == "defs" || type == "clipPath" || type == "mask" || type == "marker" ||
           type == "pattern" || type == "symbol";
}

// A transform the writer can undo: finite, with a determinant far from 0.
bool Invertible(const Geom::Affine& m) {
    for (int i = 0; i < 6; ++i) {
        if (!std::isfinite(m[i])) return false;
    }
    const double det = m.det();
    return std::isfinite(det) && std::fabs(det) > 1e-12 && std::isfinite(1.0 / det);
}

// The element types that become paths, as literals that outlive the tree's
// own names.
std::string_view TypeLiteral(std::string_view type) {
    static constexpr std::string_view kTypes[] = {"path", "rect",     "circle", "ellipse",
                                                  "line", "polyline", "polygon"};
    for (const std::string_view literal : kTypes) {
        if (literal == type) return literal;
    }
    throw std::logic_error("not a path or shape: <" + std::string(type) + ">");
}

bool IsGroup(std::string_view type) { return type == "g" || type == "a" || type == "switch"; }

// Elements with nothing to draw or move: kept, and no warning.
bool IsQuiet(std::string_view type) {
    return type == "title" || type == "desc" || type == "metadata" || type == "style" ||
           type == "script" || type == "linearGradient" || type == "radialGradient" ||
           type == "filter" || type == "view" || type.empty();
}

// Editors' files declare entities in the DOCTYPE (&ns_svg; and the like);
// the XML parser leaves them unexpanded, so expand them here.
void ExpandEntities(pugi::xml_document& xml) {
    std::map<std::string, std::string, std::less<>> entities;
    for (pugi::xml_node node = xml.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_doctype) continue;
        std::string_view doctype = node.value();
        std::size_t at = 0;
        while ((at = doctype.find("<!ENTITY", at)) != std::string_view::npos) {
            at += 8;
            while (at < doctype.size() && std::isspace(static_cast<unsigned char>(doctype[at])))
                ++at;
            std::size_t end = at;
            while (end < doctype.size() && !std::isspace(static_cast<unsigned char>(doctype[end])))
                ++end;
            const std::string name(doctype.substr(at, end - at));
            const std::size_t open = doctype.find_first_of("\"'", end);
            if (open == std::string_view::npos) break;
            const std::size_t close = doctype.find(doctype[open], open + 1);
            if (close == std::string_view::npos) break;
            if (name != "%") entities.emplace(name, doctype.substr(open + 1, close - open - 1));
            at = close + 1;
        }
    }
    if (entities.empty()) return;
    const auto expand = [&](std::string_view value, std::string& out) {
        bool changed = false;
        out.clear();
        for (std::size_t at = 0; at < value.size();) {
            if (value[at] == '&') {
                const std::size_t semicolon = value.find(';', at);
                if (semicolon != std::string_view::npos) {
                    const auto it = entities.find(value.substr(at + 1, semicolon - at - 1));
                    if (it != entities.end()) {
                        out += it->second;
                        at = semicolon + 1;
                        changed = true;
                        continue;
                    }
                }
            }
            out += value[at++];
        }
        return changed;
    };
    std::string expanded;
    std::vector<pugi::xml_node> stack{xml.document_element()};
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        for (pugi::xml_attribute attribute : node.attributes()) {
            if (expand(attribute.value(), expanded)) attribute.set_value(expanded.c_str());
        }
        for (pugi::xml_node child : node.children()) {
            if (child.type() == pugi::node_element) {
                stack.push_back(child);
            } else if (child.type() == pugi::node_pcdata && expand(child.value(), expanded)) {
                child.set_value(expanded.c_str());
            }
        }
    }
}

constexpr unsigned kParseFlags = pugi::parse_full | pugi::parse_ws_pcdata;

// The tree as the reader and the writer take it: the declaration says UTF-8
// (the encoding written), entities are expanded.
pugi::xml_parse_result Prepared(pugi::xml_document& xml, const pugi::xml_parse_result& result) {
    if (!result) return result;
    if (result.encoding != pugi::encoding_utf8) {
        for (pugi::xml_node node = xml.first_child(); node; node = node.next_sibling()) {
            if (node.type() == pugi::node_declaration && node.attribute("encoding")) {
                node.attribute("encoding").set_value("UTF-8");
            }
        }
    }
    ExpandEntities(xml);
    return result;
}

// Calls visit(node) for every element of xml, in document order.
template <typename Visit>
void EachElement(const pugi::xml_document& xml, Visit visit) {
    pugi::xml_node node = xml.first_child();
    while (node) {
        if (node.type() == pugi::node_element) visit(node);
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) node = node.parent();
        if (node) node = node.next_sibling();
    }
}

struct Context {
    Geom::Affine toRoot = Geom::identity();
    std::string_view fill = "black";  // the computed fill, inherited
    bool hidden = false;              // visibility hidden or collapse, inherited
    bool displayNone = false;         // on this element or an ancestor
    bool locked = false;              // sodipodi:insensitive here or above
    bool selectedAbove = false;       // an ancestor's id was given
    bool fillImportant = false;       // this element's own fill is an !important one
};

class Reader {
public:
    Reader(std::string_view text, const std::string& fileName, const SvgReadOptions& options,
           SvgDocumentFile& file)
        : text_(text),
          fileName_(fileName),
          file_(file),
          ids_(options.ids.begin(), options.ids.end()) {}

    void Read() {
        file_.xml = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result = Prepared(
            *file_.xml,
            file_.xml->load_buffer(text_.data(), text_.size(), kParseFlags, pugi::encoding_auto));
        if (!result) {
            Fail(static_cast<std::size_t>(result.offset),
                 std::string("malformed XML: ") + result.description() +
                     "; fix the markup there (xmllint --noout FILE shows every fault)");
        }
        const pugi::xml_node root = file_.xml->document_element();
        if (LocalName(root) != "svg") {
            Fail(static_cast<std::size_t>(root.offset_debug()),
                 "the root element is <" + std::string(root.name()) +
                     ">, not <svg>; is this an SVG document?");
        }
        ReadStyleSheets(root);
        Context context;
        Walk(root, context, 0);
        for (const auto& [what, first] : leftAlone_) {
            file_.warnings.push_back(
                first.place + ": warning: left alone: " + what +
                (first.count > 1 ? " (" + std::to_string(first.count) + " in all)" : ""));
        }
        for (const std::string& id : ids_) {
            if (foundIds_.count(id)) continue;
            const pugi::xml_node named = file_.xml->find_node(
                [&](const pugi::xml_node& node) { return id == node.attribute("id").value(); });
            file_.warnings.push_back(
                (named ? Place(static_cast<std::size_t>(named.offset_debug())) : fileName_) +
                ": warning: the id '" + id + "' selects nothing: " +
                (named ? "its element is not drawn as it stands (in <defs>, a clip path, mask, "
                         "marker, pattern or symbol) or is not a path"
                       : "no element has it"));
        }
        file_.asRead = PathsAsRead(file_.document);
        file_.sourceBytes = text_.size();
        file_.sourceHash = std::hash<std::string_view>{}(text_);
    }

private:
    struct Note {
        std::string place;
        int count = 0;
    };

    std::string Place(std::size_t offset) const {
        const TextPlace place = PlaceOfByte(text_, offset + 1);
        return fileName_ + ":" + std::to_string(place.line) + ":" + std::to_string(place.column);
    }

    [[noreturn]] void Fail(std::size_t offset, const std::string& message) const {
        throw InputError(Place(offset) + ": " + message);
    }

    // Where an attribute's value starts in the text, found from its element.
    std::size_t ValueOffset(const pugi::xml_node& node, const char* attribute) const {
        const auto start =
            static_cast<std::size_t>(std::max<std::ptrdiff_t>(node.offset_debug(), 0));
        std::size_t at = start;
        while ((at = text_.find(attribute, at)) != std::string_view::npos) {
            std::size_t after = at + std::strlen(attribute);
            const bool boundary = at > 0 && (text_[at - 1] == ' ' || text_[at - 1] == '\n' ||
                                             text_[at - 1] == '\t' || text_[at - 1] == '\r');
            while (after < text_.size() && (text_[after] == ' ' || text_[after] == '\n')) ++after;
            if (boundary && after < text_.size() && text_[after] == '=') {
                ++after;
                while (after < text_.size() && text_[after] != '"' && text_[after] != '\'') ++after;
                return after + 1;
            }
            at = after;
        }
        return start;
    }

    void LeaveAlone(const pugi::xml_node& node, const std::string& what) {
        Note& note = leftAlone_[what];
        if (note.count++ == 0) note.place = Place(static_cast<std::size_t>(node.offset_debug()));
    }

    void ReadStyleSheets(const pugi::xml_node& root) {
        std::vector<pugi::xml_node> stack{root};
        while (!stack.empty()) {
            const pugi::xml_node node = stack.back();
            stack.pop_back();
            if (LocalName(node) == "style") {
                const std::string_view type = node.attribute("type").value();
                if (!type.empty() && type != "text/css") {
                    LeaveAlone(node, "a <style> of type '" + std::string(type) + "'");
                    continue;
                }
                std::string css;
                for (const pugi::xml_node child : node.children()) css += child.value();
                std::vector<std::string> skipped;
                sheet_.Add(css, skipped);
                for (const std::string& what : skipped) LeaveAlone(node, what + " of a <style>");
                continue;
            }
            for (const pugi::xml_node child : node.children(/*element*/)) {
                if (child.type() == pugi::node_element) stack.push_back(child);
            }
        }
    }

    // The element's computed fill, display and visibility, in cascade order:
    // style attribute, style sheet (important first), presentation attribute,
    // inheritance.
    void Cascade(const pugi::xml_node& node, std::string_view type, Context& context) {
        std::array<std::string_view, kPropertyCount> value{};
        std::array<int, kPropertyCount>
            rank{};  // 0 none, 1 attribute, 2 sheet, 3 style, 4 sheet!, 5 style!
        static constexpr const char* kNames[] = {"fill", "display", "visibility"};
        for (std::size_t p = 0; p < kPropertyCount; ++p) {
            const pugi::xml_attribute attribute = node.attribute(kNames[p]);
            if (attribute) {
                value[p] = attribute.value();
                rank[p] = 1;
            }
        }
        const ElementKey key{type, node.attribute("id").value(), node.attribute("class").value()};
        const auto sheet = sheet_.Lookup(key);
        for (std::size_t p = 0; p < kPropertyCount; ++p) {
            if (sheet[p].text.empty()) continue;
            value[p] = sheet[p].text;
            rank[p] = sheet[p].important ? 4 : 2;
        }
        for (const Declaration& declaration : ParseDeclarations(node.attribute("style").value())) {
            Property property;
            if (!PropertyOf(declaration.name, property)) continue;
            const auto p = static_cast<std::size_t>(property);
            const int own = declaration.important ? 5 : 3;
            if (own < rank[p]) continue;
            value[p] = declaration.value;
            rank[p] = own;
        }
        const auto inherits = [](std::string_view v) { return v == "inherit" || v == "unset"; };
        // A new fill written into the style attribute must be important too to win.
        context.fillImportant = rank[static_cast<std::size_t>(Property::kFill)] >= 4;
        const std::string_view fill = value[static_cast<std::size_t>(Property::kFill)];
        if (!fill.empty() && !inherits(fill)) context.fill = fill == "initial" ? "black" : fill;
        const std::string_view display = value[static_cast<std::size_t>(Property::kDisplay)];
        if (display == "none") context.displayNone = true;
        const std::string_view visibility = value[static_cast<std::size_t>(Property::kVisibility)];
        if (!visibility.empty() && !inherits(visibility)) {
            context.hidden = visibility == "hidden" || visibility == "collapse";
        }
    }

    void Walk(const pugi::xml_node& node, const Context& parent, int depth) {
        if (depth > kMaxDepth) {
            Fail(static_cast<std::size_t>(node.offset_debug()),
                 "elements nested deeper than " + std::to_string(kMaxDepth) + " levels");
        }
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            const std::string_view type = LocalName(child);
            if (IsQuiet(type) || IsHiddenContainer(type)) continue;
            Context context = parent;
            const std::string_view id = child.attribute("id").value();
            if (!id.empty() && ids_.count(std::string(id))) {
                foundIds_.insert(std::string(id));
                context.selectedAbove = true;
            }
            const pugi::xml_attribute transform = child.attribute("transform");
            if (transform) {
                try {
                    context.toRoot = ParseTransform(transform.value()) * parent.toRoot;
                } catch (const TransformError& error) {
                    Fail(ValueOffset(child, "transform") + error.offset,
                         std::string("bad transform: ") + error.what() +
                             "; write it as e.g. translate(10 20) rotate(45)");
                }
            }
            const std::string_view insensitive = child.attribute("sodipodi:insensitive").value();
            if (!insensitive.empty() && insensitive != "false") context.locked = true;
            Cascade(child, type, context);

            if (IsGroup(type)) {
                Walk(child, context, depth + 1);
            } else if (type == "path" || IsShape(type)) {
                ReadPathElement(child, type, context);
            } else if (type == "svg") {
                LeaveAlone(child, "a nested <svg> and everything in it (its own viewport)");
            } else if (type == "use") {
                LeaveAlone(child, "a <use> clone (it shows its original, moved or not)");
            } else if (type == "text") {
                LeaveAlone(child, "<text> (text is not a path)");
            } else if (type == "image") {
                LeaveAlone(child, "an <image>");
            } else if (type == "foreignObject") {
                LeaveAlone(child, "a <foreignObject>");
            } else {
                LeaveAlone(child, "an unknown element <" + std::string(type) + ">");
            }
        }
    }

    void ReadPathElement(const pugi::xml_node& node, std::string_view type,
                         const Context& context) {
        PathGeometry geometry;
        if (type == "path") {
            const pugi::xml_attribute d = node.attribute("d");
            try {
                geometry = ParsePathData(d.value());
            } catch (const PathDataError& error) {
                Fail(ValueOffset(node, "d") + error.offset,
                     std::string("bad path data: ") + error.what() +
                         "; d takes M, L, H, V, C, S, Q, T, A and Z with their numbers");
            }
            if (node.attribute("inkscape:path-effect")) {
                LeaveAlone(node,
                           "the live path effect of a path (Inkscape recomputes its d "
                           "from inkscape:original-d, undoing the move)");
            }
        } else {
            try {
                geometry = ShapeGeometry(node, type);
            } catch (const ShapeError& error) {
                if (!error.unsupported) {
                    Fail(ValueOffset(node, error.attribute.c_str()),
                         std::string("bad <") + std::string(type) + ">: " + error.what());
                }
                LeaveAlone(node, "a <" + std::string(type) +
                                     "> with a length relative to the "
                                     "viewport or the font");
                return;
            }
        }
        if (geometry.subpaths.empty()) return;
        if (!Invertible(context.toRoot)) {
            LeaveAlone(node, "an element whose transform cannot be inverted");
            return;
        }

        const bool selected = ids_.empty()
                                  ? !(context.hidden || context.displayNone || context.locked)
                                  : context.selectedAbove;
        PathStyle style{};
        SetFill(context.fill, style);
        SvgPathElement element;
        element.node = node;
        element.type = TypeLiteral(type);
        element.transform = TransformIndex(context.toRoot);
        element.firstArt = file_.document.art.size();
        element.artCount = static_cast<uint32_t>(geometry.subpaths.size());
        element.hadArcs = geometry.hadArcs;
        element.fillImportant = context.fillImportant;
        for (const Subpath& subpath : geometry.subpaths) {
            if (subpath.nodes.size() > static_cast<std::size_t>(headless::kMaxSegments)) {
                Fail(static_cast<std::size_t>(node.offset_debug()),
                     "a subpath has " + std::to_string(subpath.nodes.size()) +
                         " nodes; the host holds at most " +
                         std::to_string(headless::kMaxSegments) + " in a path, so split it");
            }
            headless::Art art;
            art.selected = selected;
            art.closed = subpath.closed;
            art.style = style;
            art.segments.reserve(subpath.nodes.size());
            for (const Node& n : subpath.nodes) {
                PathSegment segment{};
                segment.p = ToHost(n.p * context.toRoot, node);
                segment.in = ToHost(n.in * context.toRoot, node);
                segment.out = ToHost(n.out * context.toRoot, node);
                segment.corner = 1;
                art.segments.push_back(segment);
            }
            file_.document.art.push_back(std::move(art));
        }
        file_.elements.push_back(std::move(element));
    }

    // The index of toRoot in the file's transforms: the last one again when
    // equal bit for bit (elements of one group), else a new one.
    uint32_t TransformIndex(const Geom::Affine& toRoot) {
        std::vector<Geom::Affine>& transforms = file_.transforms;
        if (transforms.empty() ||
            std::memcmp(&transforms.back(), &toRoot, sizeof(Geom::Affine)) != 0) {
            transforms.push_back(toRoot);
        }
        return static_cast<uint32_t>(transforms.size() - 1);
    }

    RealPoint ToHost(const Geom::Point& p, const pugi::xml_node& node) const {
        const RealPoint point = HostPoint(p);
        if (!std::isfinite(point.h) || !std::isfinite(point.v)) {
            Fail(static_cast<std::size_t>(node.offset_debug()),
                 "a point lies beyond the host's float range in root coordinates");
        }
        return point;
    }

    std::string_view text_;
    const std::string& fileName_;
    SvgDocumentFile& file_;
    std::set<std::string> ids_;
    std::set<std::string> foundIds_;
    StyleSheet sheet_;
    std::map<std::string, Note> leftAlone_;
};

}  // namespace

SvgDocumentFile ReadDocumentSvg(std::string_view text, const std::string& fileName,
                                const SvgReadOptions& options) {
    SvgDocumentFile file;
    Reader(text, fileName, options, file).Read();
    return file;
}

void SetMarkupAside(SvgDocumentFile& file) {
    if (!file.xml) return;
    uint32_t order = 0;
    std::size_t next = 0;
    EachElement(*file.xml, [&](const pugi::xml_node& node) {
        if (next < file.elements.size() && file.elements[next].node == node) {
            file.elements[next].order = order;
            file.elements[next++].node = pugi::xml_node();
        }
        ++order;
    });
    if (next != file.elements.size()) throw std::logic_error("path elements out of document order");
    file.xml.reset();
    file.markup.reset();
}

void RestoreMarkup(SvgDocumentFile& file, std::string text, const std::string& fileName) {
    if (file.xml) return;
    const auto changed = [&] {
        return InputError(fileName +
                          ": changed while the filter ran (the SVG is read again to be written "
                          "back); run again on the file as it is now");
    };
    if (text.size() != file.sourceBytes || std::hash<std::string_view>{}(text) != file.sourceHash)
        throw changed();
    // Parsed in place: the tree's texts stay in the buffer, not in a copy.
    auto markup = std::make_unique<std::string>(std::move(text));
    auto xml = std::make_unique<pugi::xml_document>();
    if (!Prepared(*xml, xml->load_buffer_inplace(markup->data(), markup->size(), kParseFlags,
                                                 pugi::encoding_auto))) {
        throw changed();
    }
    uint32_t order = 0;
    std::size_t next = 0;
    EachElement(*xml, [&](const pugi::xml_node& node) {
        if (next < file.elements.size() && file.elements[next].order == order)
            file.elements[next++].node = node;
        ++order;
    });
    if (next != file.elements.size()) throw changed();
    file.markup = std::move(markup);
    file.xml = std::move(xml);
}

}  // namespace cli
