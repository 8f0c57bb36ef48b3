#include "bench/GridMosaicSvg.h"

#include "cli/FloatText.h"
#include "cli/SvgWriter.h"

namespace bench {

namespace {

void AppendNumber(float value, std::string& out) {
    char text[cli::kFloatTextSize];
    out.append(text, cli::FloatChars(value, text));
}

// Absolute path data of a closed path of corner anchors: H or V where an edge
// runs along an axis, L elsewhere.
void AppendPathData(const headless::Art& art, std::string& out) {
    const auto& segments = art.segments;
    out += "M ";
    AppendNumber(segments[0].p.h, out);
    out += ',';
    AppendNumber(segments[0].p.v, out);
    for (std::size_t i = 1; i < segments.size(); ++i) {
        const RealPoint& from = segments[i - 1].p;
        const RealPoint& to = segments[i].p;
        if (to.v == from.v) {
            out += " H ";
            AppendNumber(to.h, out);
        } else if (to.h == from.h) {
            out += " V ";
            AppendNumber(to.v, out);
        } else {
            out += " L ";
            AppendNumber(to.h, out);
            out += ',';
            AppendNumber(to.v, out);
        }
    }
    if (art.closed) out += " Z";
}

}  // namespace

std::string GridMosaicSvg(const headless::Document& mosaic) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!-- a generated mosaic: square tiles sharing corners -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
        "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
        "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
        "   version=\"1.1\" id=\"svg1\">\n"
        "  <sodipodi:namedview id=\"namedview1\" inkscape:document-units=\"pt\"/>\n"
        "  <g inkscape:groupmode=\"layer\" inkscape:label=\"Tiles\" id=\"layer1\">\n";
    out.reserve(mosaic.art.size() * 140 + out.size() + 16);
    std::size_t id = 0;
    for (const headless::Art& art : mosaic.art) {
        if (art.type != kPathArt || art.segments.empty()) continue;
        out += "    <path style=\"fill:";
        out += cli::SvgFill(art.style);
        out += ";stroke:#000000;stroke-width:0.1\" d=\"";
        AppendPathData(art, out);
        out += "\" id=\"tile";
        out += std::to_string(++id);
        out += "\"/>\n";
    }
    out += "  </g>\n</svg>\n";
    return out;
}

}  // namespace bench
