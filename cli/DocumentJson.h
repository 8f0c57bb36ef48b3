// Documents as JSON, read and written:
//
//   {"art": [{"type": "path", "selected": true, "closed": true,
//             "fill": {"gray": 0.5},
//             "segments": [{"p": [x, y], "in": [x, y], "out": [x, y], "corner": true}]}]}
//
// "fill" is {"gray": g}, {"rgb": [r, g, b]}, {"cmyk": [c, m, y, k]}, or null
// or absent for no fill paint. Defaults: type "path", selected, closed, in
// and out on p, corner. Coordinates and levels are 32-bit floats, written as
// the shortest text that reads back to the same float.
//
// What the host does not know is kept and written back: art of any other
// type whole (its object text in Art::passthrough, type kOtherArt), and the
// unknown members of a path (their "name": value text in Art::passthrough),
// of a segment and of the document (in DocumentFile).
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "headless/Document.h"

namespace cli {

// The type code of art that is not a path; the host never matches it.
constexpr int16_t kOtherArt = 0;

struct DocumentFile {
    headless::Document document;
    std::string members;  // unknown top-level members, as "name": value text
    // Unknown members of segment s of art a: segmentMembers[a][s] (may be
    // shorter than the art list or a path's segments).
    std::vector<std::vector<std::string>> segmentMembers;
};

// Parses a document; throws InputError naming fileName and where the fault
// is (line and column for malformed JSON; art and segment index otherwise).
DocumentFile ReadDocumentJson(std::string_view text, const std::string& fileName);

std::string WriteDocumentJson(const DocumentFile& file);
// The same text, written to stream as it is made (in pieces of about 64 KB).
void WriteDocumentJson(const DocumentFile& file, std::ostream& stream);
std::string WriteDocumentJson(const headless::Document& document);

}  // namespace cli
