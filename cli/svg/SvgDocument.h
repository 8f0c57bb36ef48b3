// SVG documents, read into the host's document and written back.
//
// Every path and basic shape that the canvas shows becomes one path of the
// host per subpath (a compound <path> gives several), with its anchors in the
// document's root user space and "has a fill" from the style cascade. The
// side table maps each path of the host back to its element, so that the
// writer changes only the geometry and fill of what the run changed and keeps
// everything else: elements, attributes, namespaces, comments, text, order.
#pragma once

#include <2geom/affine.h>
#include <2geom/point.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/svg/PathsAsRead.h"
#include "headless/Document.h"

namespace cli {

struct SvgReadOptions {
    // The ids of the selected elements (a group's id selects every path in
    // it). Empty: every path a person could select in an editor.
    std::vector<std::string> ids;
};

// An element that became paths of the host: its subpaths are the paths
// firstArt to firstArt + artCount - 1, in order.
// One of these per element of a big drawing: kept small.
struct SvgPathElement {
    pugi::xml_node node;    // null while the markup is set aside
    uint32_t order = 0;     // its place among all elements, while set aside
    std::string_view type;  // local name as a literal (path, rect, ...): a moved shape is renamed
    std::size_t firstArt = 0;
    uint32_t artCount = 0;
    uint32_t transform = 0;      // index in SvgDocumentFile::transforms
    bool hadArcs = false;        // its arcs became more nodes than it had
    bool fillImportant = false;  // its fill comes from an !important declaration
};

struct SvgDocumentFile {
    std::unique_ptr<std::string> markup;  // the text xml was parsed in place from, if it was
    std::unique_ptr<pugi::xml_document> xml;
    headless::Document document;  // what the host runs on
    svg::PathsAsRead asRead;      // its paths as read, to tell what changed
    std::vector<SvgPathElement> elements;
    // Each distinct transform from an element's coordinates to the root user
    // space, once for all the elements in a row that share it.
    std::vector<Geom::Affine> transforms;
    // One line each, naming the file, the place and what was left alone.
    std::vector<std::string> warnings;
    std::size_t sourceBytes = 0;  // the size of the text read, to size the output
    std::size_t sourceHash = 0;   // its hash, to know it again
};

// A point of the root user space as the host holds it.
inline RealPoint HostPoint(const Geom::Point& p) {
    return {static_cast<float>(p[Geom::X]), static_cast<float>(p[Geom::Y])};
}

// Parses an SVG document; throws InputError naming fileName, the line and
// column and what to do, for malformed XML, a bad path, transform or length.
SvgDocumentFile ReadDocumentSvg(std::string_view text, const std::string& fileName,
                                const SvgReadOptions& options = {});

// A big drawing's markup takes more memory than its paths: the run frees it
// while the filter runs and parses the same text again to write it back.
// RestoreMarkup throws InputError naming fileName when text is not the text
// read. Both do nothing when the markup is in place.
void SetMarkupAside(SvgDocumentFile& file);
void RestoreMarkup(SvgDocumentFile& file, std::string text, const std::string& fileName);

// The document with the run's changes: every element whose paths moved gets
// a new d (a shape becomes a <path> with its other attributes), and every
// element whose fill changed gets the new colour in its style attribute.
// The tree takes the changes (so a second write gives the same text); the
// stream form writes the text as it is made, without holding it whole.
std::string WriteDocumentSvg(const SvgDocumentFile& file);
void WriteDocumentSvg(const SvgDocumentFile& file, std::ostream& stream);

// style with the property name set to value: the declaration replaced where
// it is, or added at the end.
std::string SetStyleProperty(std::string_view style, std::string_view name, std::string_view value);

}  // namespace cli
