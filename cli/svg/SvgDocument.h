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

#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "headless/Document.h"

namespace cli {

struct SvgReadOptions {
    // The ids of the selected elements (a group's id selects every path in
    // it). Empty: every path a person could select in an editor.
    std::vector<std::string> ids;
};

// An element that became paths of the host: its subpaths are the paths
// firstArt to firstArt + artCount - 1, in order.
struct SvgPathElement {
    pugi::xml_node node;
    std::string type;     // local name: path, rect, circle, ...
    Geom::Affine toRoot;  // its coordinates to the root user space
    std::size_t firstArt = 0;
    std::size_t artCount = 0;
    bool hadArcs = false;        // its arcs became more nodes than it had
    bool fillImportant = false;  // its fill comes from an !important declaration
};

struct SvgDocumentFile {
    std::unique_ptr<pugi::xml_document> xml;
    headless::Document document;  // what the host runs on
    headless::Document asRead;    // the same as read, to tell what changed
    std::vector<SvgPathElement> elements;
    std::vector<std::size_t> artElement;  // art index -> index in elements
    // One line each, naming the file, the place and what was left alone.
    std::vector<std::string> warnings;
    std::size_t sourceBytes = 0;  // the size of the text read, to size the output
};

// Parses an SVG document; throws InputError naming fileName, the line and
// column and what to do, for malformed XML, a bad path, transform or length.
SvgDocumentFile ReadDocumentSvg(std::string_view text, const std::string& fileName,
                                const SvgReadOptions& options = {});

// The document with the run's changes: every element whose paths moved gets
// a new d (a shape becomes a <path> with its other attributes), and every
// element whose fill changed gets the new colour in its style attribute.
std::string WriteDocumentSvg(const SvgDocumentFile& file);

// style with the property name set to value: the declaration replaced where
// it is, or added at the end.
std::string SetStyleProperty(std::string_view style, std::string_view name, std::string_view value);

}  // namespace cli
