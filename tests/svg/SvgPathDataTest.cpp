// Path data: the grammar read into nodes and written back absolute.
#include <gtest/gtest.h>

#include <string>

#include "cli/svg/PathData.h"

namespace {

std::string RoundTrip(const std::string& data) {
    const cli::svg::PathGeometry geometry = cli::svg::ParsePathData(data);
    std::string out;
    for (const auto& subpath : geometry.subpaths) cli::svg::AppendPathData(subpath, out);
    return out;
}

TEST(SvgPathData, ReadsTheWholeGrammarAndWritesAbsoluteLinesAndCubics) {
    struct Case {
        const char* data;
        const char* written;
    };
    const Case cases[] = {
        {"M0 0L10 0 10 10Z", "M 0 0 L 10 0 L 10 10 L 0 0 Z"},  // implicit repeat
        {"m1 1 h5 v5 z", "M 1 1 L 6 1 L 6 6 L 1 1 Z"},
        {"M-1-2.5.5.5", "M -1 -2.5 L 0.5 0.5"},  // numbers that touch
        {"M 1e1 0 L 1e-3 2E0", "M 10 0 L 0.001 2"},
        {"M0 0 H 10 V 10 L 0 0 Z", "M 0 0 L 10 0 L 10 10 L 0 0 Z"},  // closing node merges
        {"M0 0 C 1 2 3 4 5 6 S 9 8 10 10", "M 0 0 C 1 2 3 4 5 6 C 7 8 9 8 10 10"},
        {"M0 0 Q 3 6 6 0", "M 0 0 C 2 4 4 4 6 0"},  // a quadratic is an exact cubic
        {"M0 0 Q 3 6 6 0 T 12 0", "M 0 0 C 2 4 4 4 6 0 C 8 -4 10 -4 12 0"},
        {"M 1 1 z l 3 3", "M 1 1 Z M 1 1 L 4 4"},   // after Z drawing starts at the start again
        {"M0 0 A 0 5 0 0 1 10 0", "M 0 0 L 10 0"},  // a flat arc is a line
        {"M0 0 A 5 5 0 0 1 0 0", "M 0 0"},          // an arc to its own start draws nothing
        {"M 0 0 L 10 0 M 20 0 L 30 0", "M 0 0 L 10 0 M 20 0 L 30 0"},
        // Handles off their anchors by less than a float tells: a line, as written.
        {"M 1 1 C 1.00000000001 1 2 2.00000000001 2 2", "M 1 1 L 2 2"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.data), c.written) << c.data;
}

TEST(SvgPathData, ArcsBecomeCubicsOfAtMostNinetyDegreesOnTheEllipse) {
    struct Case {
        const char* data;
        std::size_t nodes;  // the start, then one node per cubic
        bool split;
        Geom::Point centre;
    };
    const Case cases[] = {
        {"M 10 0 A 10 10 0 0 1 0 10", 2, false, {0, 0}},      // a quarter
        {"M 10 0 A 10 10 0 1 1 0 -10", 4, true, {0, 0}},      // three quarters
        {"M10 0A10 10 0 1110 0.001", 5, true, {20, 0.0005}},  // compact flags, nearly whole
        {"M 10 0 a10,10 0 0,1 -20,0", 3, true, {0, 0}},       // a half: two quarters
    };
    for (const Case& c : cases) {
        const cli::svg::PathGeometry geometry = cli::svg::ParsePathData(c.data);
        ASSERT_EQ(geometry.subpaths.size(), 1u) << c.data;
        const auto& nodes = geometry.subpaths[0].nodes;
        EXPECT_EQ(nodes.size(), c.nodes) << c.data;
        EXPECT_EQ(geometry.hadArcs, c.split) << c.data;
        // Every anchor and the middle of every cubic lie on the circle of radius 10.
        for (std::size_t i = 1; i < nodes.size(); ++i) {
            const Geom::Point mid =
                (nodes[i - 1].p + nodes[i - 1].out * 3 + nodes[i].in * 3 + nodes[i].p) / 8;
            EXPECT_NEAR(Geom::L2(nodes[i].p - c.centre), 10.0, 1e-6) << c.data;
            EXPECT_NEAR(Geom::L2(mid - c.centre), 10.0, 0.003) << c.data;
        }
    }
}

TEST(SvgPathData, FaultsNameTheCharacterWhereTheGrammarBreaks) {
    struct Case {
        const char* data;
        std::size_t offset;
    };
    const Case cases[] = {
        {"M 0 0 L 1 x", 10},  // a stray character: where it is
        {"L 5 5", 0},         // faults of order: the start of the data
        {"M 0 0 L", 0},      {"M 0 0 A 5 5 0 2 1 10 0", 0}, {"M 0 0 L 1e999 0", 0},  // out of range
    };
    for (const Case& c : cases) {
        try {
            cli::svg::ParsePathData(c.data);
            ADD_FAILURE() << c.data << " was read";
        } catch (const cli::svg::PathDataError& error) {
            EXPECT_EQ(error.offset, c.offset) << c.data;
        }
    }
}

}  // namespace
