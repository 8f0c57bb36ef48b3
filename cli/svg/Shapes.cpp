#include "cli/svg/Shapes.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/svg/Numbers.h"

namespace cli::svg {

namespace {

// User units per unit of an absolute length (CSS: 96 per inch).
struct Unit {
    std::string_view name;
    double scale;
};
constexpr Unit kUnits[] = {{"", 1.0},    {"px", 1.0},         {"pt", 96.0 / 72.0},
                           {"pc", 16.0}, {"mm", 96.0 / 25.4}, {"cm", 96.0 / 2.54},
                           {"in", 96.0}, {"Q", 96.0 / 101.6}};
constexpr std::string_view kRelativeUnits[] = {"%", "em", "ex", "rem", "ch", "vw", "vh"};

double Length(const pugi::xml_node& element, const char* name, double fallback) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) return fallback;
    const std::string_view text = attribute.value();
    NumberScanner scan(text);
    scan.SkipSpace();
    double value = 0.0;
    if (!scan.Number(value)) {
        throw ShapeError(name, std::string(name) + "=\"" + std::string(text) + "\" is not a length",
                         false);
    }
    std::string_view unit = scan.Rest();
    while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\t' || unit.back() == '\n')) {
        unit.remove_suffix(1);
    }
    for (const Unit& known : kUnits) {
        if (unit == known.name) return value * known.scale;
    }
    for (const std::string_view relative : kRelativeUnits) {
        if (unit == relative) {
            throw ShapeError(name,
                             std::string(name) + "=\"" + std::string(text) +
                                 "\" is relative to the viewport or the font, which this reader "
                                 "does not know",
                             true);
        }
    }
    throw ShapeError(name,
                     std::string(name) + "=\"" + std::string(text) +
                         "\" has an unknown unit; use px, pt, pc, mm, cm, in or none",
                     false);
}

void Add(std::string& d, const char* format, double a = 0, double b = 0, double c = 0, double e = 0,
         double f = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, e, f);
    d += text;
}

std::vector<double> Points(const pugi::xml_node& element) {
    const std::string_view text = element.attribute("points").value();
    NumberScanner scan(text);
    std::vector<double> values;
    scan.SkipSpace();
    while (!scan.AtEnd()) {
        double value = 0.0;
        if (!scan.Number(value)) {
            throw ShapeError(
                "points", "points has no number at character " + std::to_string(scan.Offset() + 1),
                false);
        }
        values.push_back(value);
        scan.SkipSeparator();
    }
    if (values.size() % 2 != 0) {
        throw ShapeError("points",
                         "points holds an odd count of numbers, so its last point has no y", false);
    }
    return values;
}

}  // namespace

bool IsShape(std::string_view type) {
    return type == "rect" || type == "circle" || type == "ellipse" || type == "line" ||
           type == "polyline" || type == "polygon";
}

bool IsShapeGeometryAttribute(std::string_view type, std::string_view a) {
    if (type == "rect")
        return a == "x" || a == "y" || a == "width" || a == "height" || a == "rx" || a == "ry";
    if (type == "circle") return a == "cx" || a == "cy" || a == "r";
    if (type == "ellipse") return a == "cx" || a == "cy" || a == "rx" || a == "ry";
    if (type == "line") return a == "x1" || a == "y1" || a == "x2" || a == "y2";
    return a == "points";
}

PathGeometry ShapeGeometry(const pugi::xml_node& element, std::string_view type) {
    // The outline as exact path data, read by the path reader: arcs of 90
    // degrees become one cubic each.
    std::string d;
    if (type == "rect") {
        const double x = Length(element, "x", 0), y = Length(element, "y", 0);
        const double w = Length(element, "width", 0), h = Length(element, "height", 0);
        if (w <= 0 || h <= 0) return {};
        double rx = Length(element, "rx", -1), ry = Length(element, "ry", -1);
        if (rx < 0) rx = ry;  // one radius given: both are it
        if (ry < 0) ry = rx;
        rx = std::clamp(rx, 0.0, w / 2);
        ry = std::clamp(ry, 0.0, h / 2);
        if (rx == 0 || ry == 0) {
            Add(d, "M %.17g %.17g H %.17g V %.17g H %.17g Z", x, y, x + w, y + h, x);
        } else {
            Add(d, "M %.17g %.17g H %.17g ", x + rx, y, x + w - rx);
            Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, x + w, y + ry);
            Add(d, "V %.17g ", y + h - ry);
            Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, x + w - rx, y + h);
            Add(d, "H %.17g ", x + rx);
            Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, x, y + h - ry);
            Add(d, "V %.17g ", y + ry);
            Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g Z", rx, ry, x + rx, y);
        }
    } else if (type == "circle" || type == "ellipse") {
        const double cx = Length(element, "cx", 0), cy = Length(element, "cy", 0);
        double rx = 0, ry = 0;
        if (type == "circle") {
            rx = ry = Length(element, "r", 0);
        } else {
            rx = Length(element, "rx", -1);
            ry = Length(element, "ry", -1);
            if (rx < 0) rx = ry;
            if (ry < 0) ry = rx;
        }
        if (rx <= 0 || ry <= 0) return {};
        Add(d, "M %.17g %.17g ", cx + rx, cy);
        Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, cx, cy + ry);
        Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, cx - rx, cy);
        Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g ", rx, ry, cx, cy - ry);
        Add(d, "A %.17g %.17g 0 0 1 %.17g %.17g Z", rx, ry, cx + rx, cy);
    } else if (type == "line") {
        Add(d, "M %.17g %.17g L %.17g %.17g", Length(element, "x1", 0), Length(element, "y1", 0),
            Length(element, "x2", 0), Length(element, "y2", 0));
    } else {
        const std::vector<double> values = Points(element);
        if (values.empty()) return {};
        for (std::size_t i = 0; i < values.size(); i += 2) {
            Add(d, i == 0 ? "M %.17g %.17g" : " L %.17g %.17g", values[i], values[i + 1]);
        }
        if (type == "polygon") d += " Z";
    }
    PathGeometry geometry = ParsePathData(d);
    geometry.hadArcs = false;  // a shape has no node list of its own to keep
    return geometry;
}

}  // namespace cli::svg
