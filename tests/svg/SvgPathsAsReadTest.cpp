// What the SVG writer takes for a moved or recoloured path: any anchor or
// handle that differs, or another number of anchors, is certainly moved; a
// path whose values all compare equal never is. Any bit of the fill counts.
#include <gtest/gtest.h>

#include <functional>

#include "cli/svg/PathsAsRead.h"

namespace {

headless::Art Square() {
    headless::Art art;
    for (const auto& [x, y] : {std::pair{0.0f, 0.0f}, {10.0f, 0.0f}, {10.0f, 10.0f}}) {
        PathSegment segment{};
        segment.p = segment.in = segment.out = {x, y};
        art.segments.push_back(segment);
    }
    art.style.fillPaint = 1;
    art.style.fillColorKind = kGrayColor;
    art.style.fillColor[0] = 0.5f;
    return art;
}

TEST(SvgPathsAsRead, TellsMovesAndNewFillsApart) {
    struct Case {
        const char* name;
        std::function<void(headless::Art&)> change;
        bool moved, recoloured;
    };
    const Case cases[] = {
        {"untouched", [](headless::Art&) {}, false, false},
        {"an anchor", [](headless::Art& a) { a.segments[2].p.v += 0.001f; }, true, false},
        {"a handle only", [](headless::Art& a) { a.segments[1].in.h -= 1.0f; }, true, false},
        {"an anchor fewer", [](headless::Art& a) { a.segments.pop_back(); }, true, false},
        {"another gray", [](headless::Art& a) { a.style.fillColor[0] = 0.75f; }, false, true},
        {"no fill", [](headless::Art& a) { a.style.fillPaint = 0; }, false, true},
        {"the stroke only", [](headless::Art& a) { a.style.strokeWidth = 3.0f; }, false, false},
        {"a zero turned negative", [](headless::Art& a) { a.segments[0].p.h = -0.0f; }, false,
         false},
    };
    headless::Document document;
    document.art = {Square(), Square()};
    const cli::svg::PathsAsRead asRead(document);
    for (const Case& c : cases) {
        headless::Art art = Square();
        c.change(art);
        EXPECT_EQ(asRead.MaybeUnmoved(1, art), !c.moved) << c.name;
        EXPECT_EQ(asRead.Recoloured(1, art.style), c.recoloured) << c.name;
    }
}

}  // namespace
