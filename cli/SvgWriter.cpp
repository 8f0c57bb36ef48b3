#include "cli/SvgWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/FloatText.h"
#include "cli/PathText.h"

namespace cli {

namespace {

int Byte(float level) {
    const double clamped = std::clamp(static_cast<double>(level), 0.0, 1.0);
    return static_cast<int>(std::lround(clamped * 255.0));
}

std::string Hex(int r, int g, int b) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", r, g, b);
    return text;
}

struct Bounds {
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    void Add(const RealPoint& point) {
        if (!std::isfinite(point.h) || !std::isfinite(point.v)) return;
        left = std::min(left, static_cast<double>(point.h));
        right = std::max(right, static_cast<double>(point.h));
        top = std::min(top, static_cast<double>(point.v));
        bottom = std::max(bottom, static_cast<double>(point.v));
    }
    bool Empty() const { return left > right; }
};

// The largest view-box number written: well inside the float range, so that
// a reader that adds its own margins or offsets stays finite too.
constexpr double kViewBoxLimit = 1e37;

std::string Number(double value) { return FloatText(static_cast<float>(value)); }

}  // namespace

std::string SvgPathData(const headless::Art& path) {
    std::string out;
    AppendSubpathText(
        std::span(path.segments), path.closed,
        [](const PathSegment& s) {
            return PathTextNode{s.in, s.p, s.out};
        },
        out);
    return out;
}

std::string SvgFill(const PathStyle& style) {
    if (!style.fillPaint) return "none";
    const float* c = style.fillColor;
    if (style.fillColorKind == kThreeColor) return Hex(Byte(c[0]), Byte(c[1]), Byte(c[2]));
    if (style.fillColorKind == kFourColor) {
        const float k = 1.0f - c[3];
        return Hex(Byte((1.0f - c[0]) * k), Byte((1.0f - c[1]) * k), Byte((1.0f - c[2]) * k));
    }
    const int level = Byte(1.0f - c[0]);
    return Hex(level, level, level);
}

std::string WriteSvg(const headless::Document& document) {
    Bounds bounds;
    for (const auto& art : document.art) {
        if (art.type != kPathArt) continue;
        for (const auto& segment : art.segments) {
            bounds.Add(segment.p);
            bounds.Add(segment.in);
            bounds.Add(segment.out);
        }
    }
    if (bounds.Empty()) bounds = Bounds{0.0, 0.0, 1.0, 1.0};
    const double extent = std::max({bounds.right - bounds.left, bounds.bottom - bounds.top, 1.0});
    const double margin = extent * 0.05;
    // Paths keep their coordinates; the stroke is in their units and stays
    // well inside the float range (extent / 400). The view box is in units
    // shrunk by a power of two when the document spans nearly the whole float
    // range, with the paths drawn through the same scale, so that every
    // number written is a finite float.
    double shrink = 1.0;
    const auto fits = [&](double value) { return std::fabs(value) * shrink <= kViewBoxLimit; };
    while (!fits(bounds.left - margin) || !fits(bounds.top - margin) ||
           !fits(bounds.right + margin) || !fits(bounds.bottom + margin) ||
           !fits(extent + 2.0 * margin)) {
        shrink /= 2.0;
    }
    const double left = (bounds.left - margin) * shrink;
    const double top = (bounds.top - margin) * shrink;
    const double width = (bounds.right - bounds.left + 2.0 * margin) * shrink;
    const double height = (bounds.bottom - bounds.top + 2.0 * margin) * shrink;
    const double stroke = extent / 400.0;
    const double scale = 600.0 / std::max(width, height);  // the larger side is 600 px

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + Number(left) + " " +
           Number(top) + " " + Number(width) + " " + Number(height) + "\" width=\"" +
           Number(width * scale) + "\" height=\"" + Number(height * scale) + "\">\n";
    const std::string indent = shrink == 1.0 ? "  " : "    ";
    if (shrink != 1.0) out += "  <g transform=\"scale(" + Number(shrink) + ")\">\n";
    for (const auto& art : document.art) {
        if (art.type != kPathArt || art.segments.empty()) continue;
        out += indent + "<path d=\"" + SvgPathData(art) + "\" fill=\"" + SvgFill(art.style) +
               "\" stroke=\"#000000\" stroke-width=\"" + Number(stroke) + "\"";
        if (!art.selected) {
            out +=
                " stroke-dasharray=\"" + Number(stroke * 4.0) + " " + Number(stroke * 2.0) + "\"";
        }
        out += "/>\n";
    }
    if (shrink != 1.0) out += "  </g>\n";
    out += "</svg>\n";
    return out;
}

}  // namespace cli
