// The filter run on small documents: what moves, by how much, what shares an
// offset, and what gets a gray.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <string>

#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

using headless::Art;
using headless::Document;
using testing_support::Corner;
using testing_support::PluginHost;
using testing_support::PluginUnderTest;
using testing_support::Polygon;
using testing_support::SetParameters;
using testing_support::Square;

struct Offset {
    float dx, dy;
    bool operator==(const Offset&) const = default;
};

Offset Moved(const PathSegment& before, const PathSegment& after) {
    return {after.p.h - before.p.h, after.p.v - before.p.v};
}

bool SameBytes(const PathStyle& a, const PathStyle& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class JitterRun : public ::testing::Test {
protected:
    // Starts the plug-in, runs the filter once with params, shuts down.
    HostErr Run(const JitterParams& params, uint32_t seed = 11) {
        PluginHost host(document_, seed);
        EXPECT_EQ(host.Startup(plugin_.entry()), kNoErr);
        SetParameters(host, params);
        host.ClearCalls();
        const HostErr result = host.FilterGo(plugin_.entry());
        calls_ = host.CallNames();
        EXPECT_TRUE(host.Held().suites.empty()) << host.Held().Describe();
        EXPECT_EQ(host.Held().dictionaries + host.Held().arrays + host.Held().handles, 0)
            << host.Held().Describe();
        host.Shutdown(plugin_.entry());
        return result;
    }

    int Count(const std::string& op) const {
        return static_cast<int>(std::count(calls_.begin(), calls_.end(), op));
    }

    PluginUnderTest plugin_;
    Document document_;
    std::vector<std::string> calls_;
};

TEST_F(JitterRun, RangeZeroWithoutFillChangesNothing) {
    document_.art = {Square(0, 0, 10, true), Square(10, 0, 10)};
    const Document before = document_;
    EXPECT_EQ(Run({0.0f, 5.0f, 95.0f, 0}), kNoErr);
    for (size_t i = 0; i < before.art.size(); ++i) {
        EXPECT_EQ(std::memcmp(before.art[i].segments.data(), document_.art[i].segments.data(),
                              before.art[i].segments.size() * sizeof(PathSegment)),
                  0);
        EXPECT_TRUE(SameBytes(before.art[i].style, document_.art[i].style));
    }
    EXPECT_EQ(Count("Dictionary.CreateDictionary"), 1);
    EXPECT_EQ(Count("Dictionary.Release"), 1);
    EXPECT_EQ(Count("Random.FloatRnd"), 0);
}

TEST_F(JitterRun, RangeZeroWithFillOnlyRecolorsFilledPaths) {
    document_.art = {Square(0, 0, 10, true), Square(10, 0, 10, false), Square(20, 0, 10, true)};
    document_.art[2].style.fillColorKind = kThreeColor;
    document_.art[2].style.fillColor[1] = 0.25f;
    const Document before = document_;
    EXPECT_EQ(Run({0.0f, 30.0f, 60.0f, 1}), kNoErr);

    EXPECT_TRUE(SameBytes(before.art[1].style, document_.art[1].style));
    for (const size_t i : {0u, 2u}) {
        const PathStyle& style = document_.art[i].style;
        EXPECT_EQ(style.fillColorKind, kGrayColor);
        EXPECT_GE(style.fillColor[0], 0.30f);
        EXPECT_LT(style.fillColor[0], 0.60f);
        // Everything but the colour kind and level passes through.
        PathStyle expected = before.art[i].style;
        expected.fillColorKind = kGrayColor;
        expected.fillColor[0] = style.fillColor[0];
        EXPECT_TRUE(SameBytes(expected, style));
    }
    for (size_t i = 0; i < before.art.size(); ++i)
        for (size_t s = 0; s < before.art[i].segments.size(); ++s)
            EXPECT_EQ(Moved(before.art[i].segments[s], document_.art[i].segments[s]),
                      (Offset{0, 0}));
    EXPECT_EQ(Count("Random.FloatRnd"), 2);
    EXPECT_EQ(Count("PathStyle.GetPathStyle"), 3);
    EXPECT_EQ(Count("PathStyle.SetPathStyle"), 2);
}

TEST_F(JitterRun, SquaresSharingAnEdgeStillShareIt) {
    document_.art = {Square(0, 0, 10), Square(10, 0, 10)};
    EXPECT_EQ(Run({8.0f, 5.0f, 95.0f, 0}), kNoErr);
    const Art& left = document_.art[0];
    const Art& right = document_.art[1];
    // left's (10,0) and (10,10) are right's (10,0) and (10,10).
    for (const auto& [l, r] : {std::pair{1, 0}, std::pair{2, 3}}) {
        EXPECT_EQ(left.segments[l].p.h, right.segments[r].p.h);
        EXPECT_EQ(left.segments[l].p.v, right.segments[r].p.v);
    }
    // Six distinct positions, two draws each.
    EXPECT_EQ(Count("Random.FloatRnd"), 12);
    EXPECT_EQ(Count("Dictionary.SetArrayEntry"), 6);
}

TEST_F(JitterRun, PositionsShareAnOffsetExactlyWhenTheyPrintAlike) {
    const struct {
        float a, b;
        bool shared;
    } cases[] = {
        {10.04f, 9.96f, true},   {10.04f, 10.0f, true},  {-0.03f, 0.03f, false},
        {12.25f, 12.24f, false}, {12.25f, 12.34f, true}, {-12.25f, -12.34f, true},
        {0.04f, -0.04f, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " vs " + std::to_string(c.b));
        document_.art = {Polygon({{c.a, 1.0f}}), Polygon({{c.b, 1.0f}})};
        const Document before = document_;
        EXPECT_EQ(Run({6.0f, 5.0f, 95.0f, 0}), kNoErr);
        const Offset first = Moved(before.art[0].segments[0], document_.art[0].segments[0]);
        const Offset second = Moved(before.art[1].segments[0], document_.art[1].segments[0]);
        // A shared offset is the same pair of floats; moved positions may round apart.
        EXPECT_EQ(Count("Random.FloatRnd"), c.shared ? 2 : 4);
        EXPECT_EQ(Count("Dictionary.GetArrayEntry"), c.shared ? 1 : 0);
        if (!c.shared) {
            EXPECT_NE(first, second);
        }
    }
}

TEST_F(JitterRun, HandlesMoveWithTheirAnchor) {
    Art art = Polygon({{0, 0}, {20, 0}, {20, 20}});
    art.segments[1].in = {15.0f, -5.0f};
    art.segments[1].out = {25.0f, 5.0f};
    art.segments[1].corner = 0;
    document_.art = {art};
    EXPECT_EQ(Run({10.0f, 5.0f, 95.0f, 0}), kNoErr);
    const PathSegment& moved = document_.art[0].segments[1];
    EXPECT_NEAR(moved.in.h - moved.p.h, -5.0f, 1e-5f);
    EXPECT_NEAR(moved.in.v - moved.p.v, -5.0f, 1e-5f);
    EXPECT_NEAR(moved.out.h - moved.p.h, 5.0f, 1e-5f);
    EXPECT_NEAR(moved.out.v - moved.p.v, 5.0f, 1e-5f);
    EXPECT_EQ(moved.corner, 0);
}

TEST_F(JitterRun, OffsetsPointEveryWayAndStayWithinHalfTheRange) {
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 12; ++col)
            document_.art.push_back(
                Square(static_cast<float>(col) * 5, static_cast<float>(row) * 5, 5));
    const Document before = document_;
    constexpr float kRange = 4.0f;
    EXPECT_EQ(Run({kRange, 5.0f, 95.0f, 0}, 99), kNoErr);
    std::set<int> quadrants;
    for (size_t i = 0; i < before.art.size(); ++i) {
        for (size_t s = 0; s < before.art[i].segments.size(); ++s) {
            const Offset o = Moved(before.art[i].segments[s], document_.art[i].segments[s]);
            EXPECT_LE(std::hypot(o.dx, o.dy), kRange / 2 + 1e-4f);
            quadrants.insert((o.dx >= 0 ? 1 : 0) + (o.dy >= 0 ? 2 : 0));
        }
    }
    EXPECT_EQ(quadrants.size(), 4u);
}

TEST_F(JitterRun, GrayLevelsLieBetweenTheTwoPercentages) {
    for (int i = 0; i < 200; ++i)
        document_.art.push_back(Square(static_cast<float>(i) * 10, 0, 10, true));
    EXPECT_EQ(Run({0.0f, 5.0f, 95.0f, 1}), kNoErr);
    float lowest = 1, highest = 0;
    for (const Art& art : document_.art) {
        lowest = std::min(lowest, art.style.fillColor[0]);
        highest = std::max(highest, art.style.fillColor[0]);
    }
    EXPECT_GE(lowest, 0.05f);
    EXPECT_LT(highest, 0.95f);
    EXPECT_LT(lowest, 0.15f);  // the whole range is used
    EXPECT_GT(highest, 0.85f);

    document_.art = {Square(0, 0, 10, true)};
    EXPECT_EQ(Run({0.0f, 40.0f, 40.0f, 1}), kNoErr);
    EXPECT_EQ(document_.art[0].style.fillColor[0], static_cast<float>(40.0f / 100.0));
}

TEST_F(JitterRun, UsesTheHostSequenceAtTheStatedRoundingPoints) {
    // One anchor and one filled path: draws are angle, distance, then gray.
    document_.art = {Polygon({{3.5f, -2.25f}}, true)};
    constexpr float kRange = 7.0f;
    EXPECT_EQ(Run({kRange, 10.0f, 90.0f, 1}, 2024), kNoErr);

    std::mt19937 engine(2024);
    auto next = [&engine] { return static_cast<float>(engine() >> 8) / 16777216.0f; };
    const float r1 = next();
    const float r2 = next();
    const float r3 = next();
    const auto angle = static_cast<float>(static_cast<double>(r1) * 3.1415927410125732);
    const auto distance = static_cast<float>((static_cast<double>(r2) - 0.5) * kRange);
    volatile float c = static_cast<float>(std::cos(static_cast<double>(angle)));
    volatile float s = static_cast<float>(std::sin(static_cast<double>(angle)));
    volatile float dx = c * distance;
    volatile float dy = s * distance;
    volatile float x = 3.5f + dx;
    volatile float y = -2.25f + dy;
    volatile float spread = (90.0f - 10.0f) * r3;
    volatile float level = spread + 10.0f;
    const auto gray = static_cast<float>(static_cast<double>(level) / 100.0);

    const PathSegment& moved = document_.art[0].segments[0];
    EXPECT_EQ(moved.p.h, x);
    EXPECT_EQ(moved.p.v, y);
    EXPECT_EQ(moved.in.h, x);
    EXPECT_EQ(moved.out.v, y);
    EXPECT_EQ(document_.art[0].style.fillColor[0], gray);
}

TEST_F(JitterRun, OnlySelectedPathsAreTouched) {
    Art unselected = Square(0, 0, 10, true);
    unselected.selected = false;
    Art group = Square(20, 0, 10, true);
    group.type = 1;  // not a path
    document_.art = {unselected, group, Square(40, 0, 10, true)};
    const Document before = document_;
    EXPECT_EQ(Run({6.0f, 5.0f, 95.0f, 1}), kNoErr);
    for (const size_t i : {0u, 1u}) {
        EXPECT_EQ(std::memcmp(before.art[i].segments.data(), document_.art[i].segments.data(),
                              before.art[i].segments.size() * sizeof(PathSegment)),
                  0);
        EXPECT_TRUE(SameBytes(before.art[i].style, document_.art[i].style));
    }
    EXPECT_FALSE(SameBytes(before.art[2].style, document_.art[2].style));
}

TEST_F(JitterRun, NoSelectionChangesNothingAndMakesNoDictionary) {
    document_.art = {Square(0, 0, 10, true)};
    document_.art[0].selected = false;
    EXPECT_EQ(Run(kDefaultJitterParams), kNoErr);
    EXPECT_EQ(Count("Dictionary.CreateDictionary"), 0);
    EXPECT_EQ(Count("MdMemory.DisposeHandle"), 0);
}

TEST_F(JitterRun, EmptyPathsAndRangesThatAreNotPositiveSkipTheVertices) {
    const struct {
        const char* name;
        float range;
        size_t segments;
    } cases[] = {
        {"no segments", 6.0f, 0},
        {"negative range", -6.0f, 4},
        {"range not a number", std::nanf(""), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Art art = Square(0, 0, 10, true);
        art.segments.resize(c.segments);
        document_.art = {art};
        const Document before = document_;
        EXPECT_EQ(Run({c.range, 5.0f, 95.0f, 1}), kNoErr);
        EXPECT_EQ(Count("Path.GetPathSegments"), 0);
        if (c.segments > 0) {  // memcmp takes no null pointer, not even for no bytes
            EXPECT_EQ(std::memcmp(before.art[0].segments.data(), document_.art[0].segments.data(),
                                  c.segments * sizeof(PathSegment)),
                      0);
        }
        EXPECT_EQ(Count("PathStyle.SetPathStyle"), 1);  // the fill still gets its gray
    }
}

TEST_F(JitterRun, WithoutAParametersRecordTheDefaultsApply) {
    document_.art = {Square(0, 0, 10, true), Square(10, 0, 10, false)};
    const Document original = document_;
    EXPECT_EQ(Run(kDefaultJitterParams, 5), kNoErr);
    const Document withDefaults = document_;

    document_ = original;
    PluginHost host(document_, 5);
    ASSERT_EQ(host.Startup(plugin_.entry()), kNoErr);
    EXPECT_FALSE(host.HasParameters());
    EXPECT_EQ(host.FilterGo(plugin_.entry()), kNoErr);
    host.Shutdown(plugin_.entry());
    for (size_t i = 0; i < original.art.size(); ++i) {
        EXPECT_EQ(std::memcmp(withDefaults.art[i].segments.data(), document_.art[i].segments.data(),
                              original.art[i].segments.size() * sizeof(PathSegment)),
                  0);
        EXPECT_TRUE(SameBytes(withDefaults.art[i].style, document_.art[i].style));
    }
}

}  // namespace
