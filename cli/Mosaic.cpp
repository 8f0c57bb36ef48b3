#include "cli/Mosaic.h"

#include <initializer_list>

namespace cli {

namespace {

constexpr int kColumns = 6;
constexpr int kRows = 4;
constexpr float kCell = 40.0f;

PathSegment Corner(RealPoint p) {
    PathSegment segment{};
    segment.p = segment.in = segment.out = p;
    segment.corner = 1;
    return segment;
}

headless::Art Tile(std::initializer_list<RealPoint> points) {
    headless::Art art;
    for (const RealPoint& p : points) art.segments.push_back(Corner(p));
    art.style.strokePaint = 1;
    art.style.strokeWidth = 0.5f;
    return art;
}

// Tile k's fill: in turn gray, none, rgb from a small palette, light gray.
void Paint(headless::Art& art, int k) {
    static constexpr float kPalette[][3] = {
        {0.85f, 0.33f, 0.24f}, {0.25f, 0.55f, 0.8f}, {0.95f, 0.75f, 0.2f}, {0.3f, 0.65f, 0.4f}};
    PathStyle& style = art.style;
    switch (k % 4) {
        case 0:
            style.fillPaint = 1;
            style.fillColorKind = kGrayColor;
            style.fillColor[0] = 0.7f;
            break;
        case 1:
            break;  // no fill paint
        case 2: {
            const float* rgb = kPalette[(k / 4) % 4];
            style.fillPaint = 1;
            style.fillColorKind = kThreeColor;
            style.fillColor[0] = rgb[0];
            style.fillColor[1] = rgb[1];
            style.fillColor[2] = rgb[2];
            break;
        }
        default:
            style.fillPaint = 1;
            style.fillColorKind = kGrayColor;
            style.fillColor[0] = 0.2f;
            break;
    }
}

}  // namespace

headless::Document BuiltInMosaic() {
    headless::Document document;
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const float x = static_cast<float>(column) * kCell;
            const float y = static_cast<float>(row) * kCell;
            const RealPoint tl{x, y}, tr{x + kCell, y}, br{x + kCell, y + kCell}, bl{x, y + kCell};
            if ((column + 2 * row) % 3 == 0) {
                // Two triangles, split along alternating diagonals.
                if ((column + row) % 2 == 0) {
                    document.art.push_back(Tile({tl, tr, br}));
                    document.art.push_back(Tile({tl, br, bl}));
                } else {
                    document.art.push_back(Tile({tl, tr, bl}));
                    document.art.push_back(Tile({tr, br, bl}));
                }
            } else {
                headless::Art square = Tile({tl, tr, br, bl});
                if (column == kColumns - 1 && row == 1) {
                    // The outer edge bulges: its handles sit off their anchors.
                    square.segments[1].out = {tr.h + 14.0f, tr.v + 8.0f};
                    square.segments[2].in = {br.h + 14.0f, br.v - 8.0f};
                    square.segments[1].corner = square.segments[2].corner = 0;
                }
                if (column == 2 && row == 1) square.selected = false;  // stays where it is
                document.art.push_back(square);
            }
        }
    }
    for (std::size_t k = 0; k < document.art.size(); ++k)
        Paint(document.art[k], static_cast<int>(k));
    return document;
}

}  // namespace cli
