#include "cli/svg/Transform.h"

#include <cmath>
#include <vector>

#include "cli/svg/Numbers.h"

namespace cli::svg {

namespace {

struct Kind {
    std::string_view name;
    std::size_t minArgs, maxArgs;
};

constexpr Kind kKinds[] = {{"matrix", 6, 6}, {"translate", 1, 2}, {"scale", 1, 2},
                           {"rotate", 1, 3}, {"skewX", 1, 1},     {"skewY", 1, 1}};

double Radians(double degrees) { return degrees * M_PI / 180.0; }

Geom::Affine Make(std::string_view name, const std::vector<double>& a) {
    if (name == "matrix") return Geom::Affine(a[0], a[1], a[2], a[3], a[4], a[5]);
    if (name == "translate") return Geom::Affine(1, 0, 0, 1, a[0], a.size() > 1 ? a[1] : 0.0);
    if (name == "scale") return Geom::Affine(a[0], 0, 0, a.size() > 1 ? a[1] : a[0], 0, 0);
    if (name == "skewX") return Geom::Affine(1, 0, std::tan(Radians(a[0])), 1, 0, 0);
    if (name == "skewY") return Geom::Affine(1, std::tan(Radians(a[0])), 0, 1, 0, 0);
    const double c = std::cos(Radians(a[0])), s = std::sin(Radians(a[0]));
    const Geom::Affine rotate(c, s, -s, c, 0, 0);
    if (a.size() == 1) return rotate;
    // About (cx, cy): move the centre to the origin, rotate, move it back.
    return Geom::Affine(1, 0, 0, 1, -a[1], -a[2]) * rotate * Geom::Affine(1, 0, 0, 1, a[1], a[2]);
}

}  // namespace

Geom::Affine ParseTransform(std::string_view text) {
    Geom::Affine result = Geom::identity();
    NumberScanner scan(text);
    scan.SkipSpace();
    std::vector<double> args;
    while (!scan.AtEnd()) {
        const std::size_t start = scan.Offset();
        const Kind* kind = nullptr;
        for (const Kind& k : kKinds) {
            if (scan.Take(k.name)) {
                kind = &k;
                break;
            }
        }
        if (kind == nullptr) {
            throw TransformError(start,
                                 "expected matrix, translate, scale, rotate, skewX or skewY");
        }
        scan.SkipSpace();
        if (!scan.Take("("))
            throw TransformError(scan.Offset(), "expected '(' after " + std::string(kind->name));
        args.clear();
        scan.SkipSpace();
        while (!scan.Take(")")) {
            if (!args.empty()) scan.SkipSeparator();
            double value = 0.0;
            if (!scan.Number(value))
                throw TransformError(scan.Offset(), "expected a number or ')'");
            args.push_back(value);
            scan.SkipSpace();
        }
        if (args.size() < kind->minArgs || args.size() > kind->maxArgs ||
            (args.size() == 2 && kind->name == "rotate")) {
            throw TransformError(start,
                                 std::string(kind->name) + " takes " +
                                     (kind->minArgs == kind->maxArgs ? std::to_string(kind->minArgs)
                                      : kind->name == "rotate"       ? "1 or 3"
                                                                     : "1 or 2") +
                                     " numbers, not " + std::to_string(args.size()));
        }
        result = Make(kind->name, args) * result;
        scan.SkipSeparator();
    }
    return result;
}

}  // namespace cli::svg
