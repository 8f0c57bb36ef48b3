// The SVG writer: which edges are lines and which are curves, the closing
// edge, fill colours, and a picture that holds every path.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>

#include "cli/SvgWriter.h"

namespace {

PathSegment At(float x, float y) {
    PathSegment s{};
    s.p = s.in = s.out = {x, y};
    s.corner = 1;
    return s;
}

headless::Art Path(std::vector<PathSegment> segments, bool closed) {
    headless::Art art;
    art.segments = std::move(segments);
    art.closed = closed;
    return art;
}

TEST(CliSvg, EdgesAreLinesOnlyWhenBothHandlesSitOnTheirAnchors) {
    PathSegment outOff = At(10, 0);
    outOff.out = {12, 3};
    PathSegment inOff = At(10, 10);
    inOff.in = {11, 8};
    PathSegment firstInOff = At(0, 0);
    firstInOff.in = {-2, 1};
    struct Case {
        const char* name;
        headless::Art path;
        const char* data;
    };
    const Case cases[] = {
        {"straight closed square", Path({At(0, 0), At(10, 0), At(10, 10), At(0, 10)}, true),
         "M 0 0 L 10 0 L 10 10 L 0 10 L 0 0 Z"},
        {"open path has no closing edge", Path({At(0, 0), At(10, 0), At(10, 10)}, false),
         "M 0 0 L 10 0 L 10 10"},
        {"out of the first anchor off", Path({At(0, 0), outOff, At(10, 10)}, false),
         "M 0 0 L 10 0 C 12 3 10 10 10 10"},
        {"in of the second anchor off", Path({At(0, 0), At(10, 0), inOff}, false),
         "M 0 0 L 10 0 C 10 0 11 8 10 10"},
        {"curved closing edge", Path({firstInOff, At(10, 0), At(10, 10)}, true),
         "M 0 0 L 10 0 L 10 10 C 10 10 -2 1 0 0 Z"},
        {"one closed segment", Path({At(1.5f, -2)}, true), "M 1.5 -2 Z"},
        {"no segments", Path({}, true), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::SvgPathData(c.path), c.data) << c.name;
}

TEST(CliSvg, FillsMapGrayToLuminanceAndNoPaintToNone) {
    struct Case {
        int32_t paint;
        int32_t kind;
        float levels[4];
        const char* fill;
    };
    const Case cases[] = {
        {0, kGrayColor, {0.5f}, "none"},
        {1, kGrayColor, {1.0f}, "#000000"},
        {1, kGrayColor, {0.0f}, "#ffffff"},
        {1, kGrayColor, {0.25f}, "#bfbfbf"},  // luminance 0.75
        {1, kGrayColor, {1.5f}, "#000000"},   // out of range: clamped
        {1, kThreeColor, {1.0f, 0.0f, 0.5f}, "#ff0080"},
        {1, kFourColor, {0.0f, 1.0f, 1.0f, 0.0f}, "#ff0000"},
        {1, kFourColor, {0.0f, 0.0f, 0.0f, 1.0f}, "#000000"},
    };
    for (const Case& c : cases) {
        PathStyle style{};
        style.fillPaint = c.paint;
        style.fillColorKind = c.kind;
        for (int i = 0; i < 4; ++i) style.fillColor[i] = c.levels[i];
        EXPECT_EQ(cli::SvgFill(style), c.fill) << c.kind << " " << c.levels[0];
    }
}

TEST(CliSvg, PictureHoldsEveryPathInsideItsViewBox) {
    headless::Document document;
    headless::Art gray = Path({At(-20, 5), At(80, 5), At(80, 45)}, true);
    gray.style.fillPaint = 1;
    gray.style.fillColor[0] = 1.0f;
    PathSegment bulge = At(80, 45);
    bulge.out = {95, 60};  // a handle beyond the anchors still fits
    headless::Art open = Path({bulge, At(0, 45)}, false);
    open.selected = false;
    headless::Art text;
    text.type = 0;
    document.art = {gray, open, text, Path({}, true)};

    const std::string svg = cli::WriteSvg(document);
    std::size_t paths = 0;
    for (auto at = svg.find("<path "); at != std::string::npos; at = svg.find("<path ", at + 1))
        ++paths;
    EXPECT_EQ(paths, 2u) << svg;  // not the text, not the empty path
    EXPECT_NE(svg.find("d=\"M -20 5 L 80 5 L 80 45 L -20 5 Z\" fill=\"#000000\" stroke="),
              std::string::npos)
        << svg;
    EXPECT_NE(svg.find("fill=\"none\""), std::string::npos);
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);  // the unselected path

    const auto box = svg.find("viewBox=\"");
    ASSERT_NE(box, std::string::npos);
    std::istringstream numbers(svg.substr(box + 9));
    double x = 0, y = 0, w = 0, h = 0;
    numbers >> x >> y >> w >> h;
    EXPECT_LT(x, -20.0);
    EXPECT_LT(y, 5.0);
    EXPECT_GT(x + w, 95.0);
    EXPECT_GT(y + h, 60.0);
    EXPECT_LT(w, 130.0);  // a margin, not a sea
}

// Every number in the picture is a finite float, and every path, drawn
// through the group's scale, lies inside the view box.
void ExpectValidPicture(const std::string& svg, const char* what) {
    SCOPED_TRACE(what);
    const std::regex number(R"re([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?|inf|nan)re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), number);
         it != std::sregex_iterator(); ++it) {
        const float value = std::strtof(it->str().c_str(), nullptr);
        EXPECT_TRUE(std::isfinite(value)) << it->str() << " in\n" << svg;
    }
    std::smatch box, scale;
    ASSERT_TRUE(
        std::regex_search(svg, box, std::regex(R"re(viewBox="(\S+) (\S+) (\S+) (\S+)")re")));
    const double x = std::stod(box[1]), y = std::stod(box[2]);
    const double w = std::stod(box[3]), h = std::stod(box[4]);
    EXPECT_GT(w, 0.0);
    EXPECT_GT(h, 0.0);
    double factor = 1.0;
    if (std::regex_search(svg, scale, std::regex(R"re(transform="scale\((\S+)\)")re")))
        factor = std::stod(scale[1]);
    std::smatch path;
    ASSERT_TRUE(std::regex_search(svg, path, std::regex(R"re( d="([^"]*)")re")));
    std::istringstream data(path[1]);
    std::string word;
    std::vector<double> coordinates;
    while (data >> word) {
        if (word != "M" && word != "L" && word != "C" && word != "Z")
            coordinates.push_back(std::stod(word) * factor);
    }
    for (std::size_t i = 0; i + 1 < coordinates.size(); i += 2) {
        EXPECT_TRUE(coordinates[i] >= x && coordinates[i] <= x + w) << coordinates[i];
        EXPECT_TRUE(coordinates[i + 1] >= y && coordinates[i + 1] <= y + h) << coordinates[i + 1];
    }
}

TEST(CliSvg, EveryFiniteDocumentGivesAValidPicture) {
    PathSegment handle = At(0, 0);
    handle.out = {FLT_MAX, -FLT_MAX};
    struct Case {
        const char* what;
        std::vector<PathSegment> segments;
    };
    const Case cases[] = {
        {"both ends of the float range", {At(-FLT_MAX, -FLT_MAX), At(FLT_MAX, FLT_MAX)}},
        {"near one end only", {At(FLT_MAX, FLT_MAX), At(FLT_MAX / 2, FLT_MAX / 2)}},
        {"a handle at the ends", {handle, At(1, 1)}},
        {"the smallest values", {At(FLT_TRUE_MIN, -FLT_TRUE_MIN), At(0, 0)}},
        {"one point", {At(3, 4)}},
    };
    for (const Case& c : cases) {
        headless::Document document;
        document.art = {Path(c.segments, true)};
        ExpectValidPicture(cli::WriteSvg(document), c.what);
    }
}

}  // namespace
