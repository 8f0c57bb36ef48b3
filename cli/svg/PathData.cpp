#include "cli/svg/PathData.h"

#include <2geom/elliptical-arc.h>
#include <2geom/exception.h>
#include <2geom/path-sink.h>
#include <2geom/svg-path-parser.h>

#include <cmath>

#include "cli/PathText.h"

namespace cli::svg {

namespace {

// Collects the parser's commands as subpaths of cubic nodes.
class NodeSink final : public Geom::PathSink {
public:
    explicit NodeSink(PathGeometry& geometry) : geometry_(geometry) {}

    void moveTo(const Geom::Point& p) override {
        Finish();
        Start(p);
    }
    void lineTo(const Geom::Point& p) override { Append({p, p, p}); }
    void curveTo(const Geom::Point& c0, const Geom::Point& c1, const Geom::Point& p) override {
        Current().nodes.back().out = c0;
        Append({c1, p, p});
    }
    void quadTo(const Geom::Point& c, const Geom::Point& p) override {
        // The cubic with the same curve: handles two thirds of the way to c.
        const Geom::Point p0 = Current().nodes.back().p;
        curveTo(p0 + (c - p0) * (2.0 / 3.0), p + (c - p) * (2.0 / 3.0), p);
    }
    void arcTo(double rx, double ry, double angle, bool large, bool sweep,
               const Geom::Point& p) override {
        const Geom::Point p0 = Current().nodes.back().p;
        if (p0 == p) return;  // an arc to its own start draws nothing
        if (rx == 0.0 || ry == 0.0) return lineTo(p);
        const Geom::EllipticalArc arc(p0, std::fabs(rx), std::fabs(ry), angle, large, sweep, p);
        const double total = arc.sweepAngle();
        const int pieces =
            std::max(1, static_cast<int>(std::ceil(std::fabs(total) / (M_PI / 2) - 1e-9)));
        const double step = total / pieces;
        const double k = 4.0 / 3.0 * std::tan(step / 4.0);
        const Geom::Affine unit = arc.unitCircleTransform();
        double a = arc.initialAngle().radians();
        for (int i = 0; i < pieces; ++i) {
            const double b = a + step;
            const Geom::Point from(std::cos(a), std::sin(a)), to(std::cos(b), std::sin(b));
            const Geom::Point c0 = (from + Geom::Point(-from[Geom::Y], from[Geom::X]) * k) * unit;
            const Geom::Point c1 = (to - Geom::Point(-to[Geom::Y], to[Geom::X]) * k) * unit;
            curveTo(c0, c1, i + 1 == pieces ? p : to * unit);
            a = b;
        }
        if (pieces > 1) geometry_.hadArcs = true;
    }
    void closePath() override {
        if (!open_) return;
        Subpath& subpath = Current();
        // A closing edge drawn to the start makes no node of its own.
        if (subpath.nodes.size() > 1 && subpath.nodes.back().p == subpath.nodes.front().p) {
            subpath.nodes.front().in = subpath.nodes.back().in;
            subpath.nodes.pop_back();
        }
        subpath.closed = true;
        start_ = subpath.nodes.front().p;
        open_ = false;
    }
    void flush() override { Finish(); }

private:
    Subpath& Current() {
        // A drawing command right after Z starts again at the closed subpath's start.
        if (!open_) Start(start_);
        return geometry_.subpaths.back();
    }
    void Start(const Geom::Point& p) {
        geometry_.subpaths.push_back({{{p, p, p}}, false});
        start_ = p;
        open_ = true;
    }
    void Append(const Node& node) { Current().nodes.push_back(node); }
    void Finish() { open_ = false; }

    PathGeometry& geometry_;
    Geom::Point start_;
    bool open_ = false;
};

// The first character that belongs to no path command or number; the size of
// data when every character does (the fault is then in how they combine).
std::size_t StrayCharacter(std::string_view data) {
    const std::size_t at = data.find_first_not_of("MmLlHhVvCcSsQqTtAaZz0123456789.+-eE, \t\r\n\f");
    return at == std::string_view::npos ? data.size() : at;
}

bool Finite(const Geom::Point& p) { return std::isfinite(p[Geom::X]) && std::isfinite(p[Geom::Y]); }

// A point as written: the float nearest each coordinate.
RealPoint AsWritten(const Geom::Point& point) {
    return {static_cast<float>(point[Geom::X]), static_cast<float>(point[Geom::Y])};
}

}  // namespace

PathGeometry ParsePathData(std::string_view data) {
    PathGeometry geometry;
    NodeSink sink(geometry);
    Geom::SVGPathParser parser(sink);
    try {
        parser.parse(data.data(), static_cast<int>(data.size()));
    } catch (const Geom::SVGPathParseError&) {
        const std::size_t stray = StrayCharacter(data);
        if (stray < data.size()) {
            throw PathDataError(stray, "a character that is no command or number");
        }
        throw PathDataError(0,
                            "its commands and numbers do not fit together (a command without "
                            "all its numbers, a flag other than 0 or 1, or no M first)");
    }
    for (const Subpath& subpath : geometry.subpaths) {
        for (const Node& node : subpath.nodes) {
            if (!Finite(node.p) || !Finite(node.in) || !Finite(node.out)) {
                throw PathDataError(0, "a coordinate in path data is out of range");
            }
        }
    }
    return geometry;
}

void AppendPathData(const Subpath& subpath, std::string& out) {
    AppendSubpathText(
        std::span(subpath.nodes), subpath.closed,
        [](const Node& n) {
            return PathTextNode{AsWritten(n.in), AsWritten(n.p), AsWritten(n.out)};
        },
        out);
}

}  // namespace cli::svg
