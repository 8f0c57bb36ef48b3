#include "cli/DemoDrawing.h"

#include <cstdint>
#include <cstdio>

namespace cli {

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 5;
constexpr double kCell = 37.35;
constexpr const char* kClasses[] = {"sand", "sea", "moss", "rust"};

// Noise of at most 0.006 for one tile's copy of one corner, the same every run.
double Noise(int tile, int corner, int axis) {
    uint32_t h =
        static_cast<uint32_t>(tile * 7919 + corner * 104729 + axis * 1299709) * 2654435761u;
    h ^= h >> 15;
    return (static_cast<double>(h % 1201) - 600.0) / 100000.0;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out;
}

}  // namespace

std::string DemoDrawing() {
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
        "<!-- Made by pelvaro demo in the way a drawing program saves a mosaic. -->\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
        "   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
        "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n"
        "   width=\"340\" height="
        "\"230\" viewBox=\"0 0 340 230\" id=\"drawing\">\n"
        "  <sodipodi:namedview id=\"namedview\" pagecolor=\"#ffffff\" inkscape:zoom=\"2\"/>\n"
        "  <style id=\"styles\">\n"
        "    .sand { fill: #e8d5a3 } .sea { fill: #7fb2d5 } .moss { fill: #9bbf85 }\n"
        "    .rust { fill: #c8744f } path, rect, polygon { stroke: #333; stroke-width: 0.6 }\n"
        "    #lake { fill: none }\n"
        "  </style>\n"
        "  <defs id=\"defs\"><linearGradient id=\"unused\"/></defs>\n";
    // The left half in one layer moved by translate, the right half in one
    // drawn at half size and scaled up: the same root positions either way.
    for (int half = 0; half < 2; ++half) {
        const double scale = half == 0 ? 1.0 : 2.0;
        svg += half == 0 ? "  <g id=\"west\" inkscape:groupmode=\"layer\" inkscape:label=\"West\" "
                           "transform=\"translate(20,20)\">\n"
                         : "  <g id=\"east\" inkscape:groupmode=\"layer\" inkscape:label=\"East\" "
                           "transform=\"translate(20 20) scale(2)\">\n";
        for (int row = 0; row < kRows; ++row) {
            for (int column = half * kColumns / 2; column < (half + 1) * kColumns / 2; ++column) {
                const int tile = row * kColumns + column;
                const auto corner = [&](int dx, int dy, int k) {
                    const double x = ((column + dx) * kCell + Noise(tile, k, 0)) / scale;
                    const double y = ((row + dy) * kCell + Noise(tile, k, 1)) / scale;
                    return Number(x) + "," + Number(y);
                };
                const std::string id = "tile" + std::to_string(tile);
                const char* style = kClasses[(row + 3 * column) % 4];
                if (row == 2 && column == 5) {
                    // A compound path: the tile with a round lake in it.
                    const double cx = (column + 0.5) * kCell / scale,
                                 cy = (row + 0.5) * kCell / scale;
                    const double r = kCell / 5 / scale;
                    svg += "    <path id=\"" + id + "\" class=\"" + style +
                           "\" fill-rule=\"evenodd\" d=\"M " + corner(0, 0, 0) + " L " +
                           corner(1, 0, 1) + " L " + corner(1, 1, 2) + " L " + corner(0, 1, 3) +
                           " Z M " + Number(cx + r) + "," + Number(cy) + " A " + Number(r) + "," +
                           Number(r) + " 0 1 1 " + Number(cx - r) + "," + Number(cy) + " A " +
                           Number(r) + "," + Number(r) + " 0 1 1 " + Number(cx + r) + "," +
                           Number(cy) + " Z\"/>\n";
                } else if ((row + column) % 3 == 0) {
                    // Two triangles along a diagonal.
                    svg += "    <polygon id=\"" + id + "a\" class=\"" + style + "\" points=\"" +
                           corner(0, 0, 0) + " " + corner(1, 0, 1) + " " + corner(1, 1, 2) +
                           "\"/>\n";
                    svg += "    <polygon id=\"" + id + "b\" class=\"" +
                           kClasses[(row + column) % 4] + "\" points=\"" + corner(0, 0, 4) + " " +
                           corner(1, 1, 5) + " " + corner(0, 1, 3) + "\"/>\n";
                } else if ((row * column) % 4 == 1) {
                    // A rect: its corners are exact, its neighbours' copies are not.
                    svg += "    <rect id=\"" + id + "\" class=\"" + style + "\" x=\"" +
                           Number(column * kCell / scale) + "\" y=\"" +
                           Number(row * kCell / scale) + "\" width=\"" + Number(kCell / scale) +
                           "\" height=\"" + Number(kCell / scale) + "\"/>\n";
                } else {
                    svg += "    <path id=\"" + id + "\" class=\"" + style + "\" d=\"M " +
                           corner(0, 0, 0) + " " + corner(1, 0, 1) + " " + corner(1, 1, 2) + " " +
                           corner(0, 1, 3) + " Z\" sodipodi:nodetypes=\"cccc\"/>\n";
                }
            }
        }
        svg += "  </g>\n";
    }
    svg +=
        "  <text id=\"title\" x=\"20\" y=\"218\" style=\"font-size:9px\">A mosaic whose tiles "
        "share their corners</text>\n"
        "</svg>\n";
    return svg;
}

}  // namespace cli
