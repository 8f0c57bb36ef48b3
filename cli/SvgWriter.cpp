#include "cli/SvgWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/FloatText.h"

namespace cli {

namespace {

bool Same(const RealPoint& a, const RealPoint& b) { return a.h == b.h && a.v == b.v; }

void AppendPoint(const RealPoint& point, std::string& out) {
    out += ' ';
    out += FloatText(point.h);
    out += ' ';
    out += FloatText(point.v);
}

void AppendEdge(const PathSegment& from, const PathSegment& to, std::string& out) {
    if (Same(from.out, from.p) && Same(to.in, to.p)) {
        out += " L";
    } else {
        out += " C";
        AppendPoint(from.out, out);
        AppendPoint(to.in, out);
    }
    AppendPoint(to.p, out);
}

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

std::string Number(double value) { return FloatText(static_cast<float>(value)); }

}  // namespace

std::string SvgPathData(const headless::Art& path) {
    const auto& segments = path.segments;
    std::string out;
    if (segments.empty()) return out;
    out += 'M';
    AppendPoint(segments[0].p, out);
    for (std::size_t i = 1; i < segments.size(); ++i) AppendEdge(segments[i - 1], segments[i], out);
    if (path.closed) {
        if (segments.size() > 1) AppendEdge(segments.back(), segments.front(), out);
        out += " Z";
    }
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
    const double width = bounds.right - bounds.left + 2.0 * margin;
    const double height = bounds.bottom - bounds.top + 2.0 * margin;
    const double stroke = extent / 400.0;
    const double scale = 600.0 / std::max(width, height);  // the larger side is 600 px

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + Number(bounds.left - margin) +
           " " + Number(bounds.top - margin) + " " + Number(width) + " " + Number(height) +
           "\" width=\"" + Number(width * scale) + "\" height=\"" + Number(height * scale) +
           "\">\n";
    for (const auto& art : document.art) {
        if (art.type != kPathArt || art.segments.empty()) continue;
        out += "  <path d=\"" + SvgPathData(art) + "\" fill=\"" + SvgFill(art.style) +
               "\" stroke=\"#000000\" stroke-width=\"" + Number(stroke) + "\"";
        if (!art.selected) {
            out +=
                " stroke-dasharray=\"" + Number(stroke * 4.0) + " " + Number(stroke * 2.0) + "\"";
        }
        out += "/>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace cli
