// Joints found through the grid against every pair measured one by one, on
// documents whose cells spread far apart, and at the tolerance's very edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "cli/Joints.h"

namespace {

using Pair = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t>;

Pair AsPair(const cli::Joint& joint) {
    return {joint.a.art, joint.a.segment, joint.b.art, joint.b.segment};
}

// Every pair of anchors of two different selected paths, measured directly.
std::vector<Pair> EveryJoint(const headless::Document& document, double tolerance) {
    std::vector<Pair> pairs;
    for (uint32_t a = 0; a < document.art.size(); ++a) {
        for (uint32_t b = a + 1; b < document.art.size(); ++b) {
            if (!document.art[a].selected || !document.art[b].selected) continue;
            const auto& first = document.art[a].segments;
            const auto& second = document.art[b].segments;
            for (uint32_t s = 0; s < first.size(); ++s) {
                for (uint32_t t = 0; t < second.size(); ++t) {
                    const double dx = static_cast<double>(first[s].p.h) - second[t].p.h;
                    const double dy = static_cast<double>(first[s].p.v) - second[t].p.v;
                    if (std::hypot(dx, dy) <= tolerance) pairs.emplace_back(a, s, b, t);
                }
            }
        }
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

std::vector<Pair> Found(const headless::Document& document, double tolerance) {
    std::vector<Pair> pairs;
    for (const cli::Joint& joint : cli::FindJoints(document, tolerance))
        pairs.push_back(AsPair(joint));
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

headless::Art PathThrough(const std::vector<RealPoint>& points) {
    headless::Art art;
    for (const RealPoint& p : points) {
        PathSegment segment{};
        segment.p = segment.in = segment.out = p;
        art.segments.push_back(segment);
    }
    return art;
}

// Clusters of anchors near a few centres millions of cells apart (and on
// both sides of zero), some exactly on one another, some a hair apart.
headless::Document ScatteredClusters(std::mt19937& random) {
    std::uniform_real_distribution<float> centre(-2.0e5f, 2.0e5f);
    std::uniform_real_distribution<float> near(-0.05f, 0.05f);
    std::vector<RealPoint> centres;
    for (int i = 0; i < 40; ++i) centres.push_back({centre(random), centre(random)});
    headless::Document document;
    for (int a = 0; a < 300; ++a) {
        std::vector<RealPoint> points;
        for (int s = 0; s < 4; ++s) {
            const RealPoint& c = centres[random() % centres.size()];
            if (random() % 3 == 0) {
                points.push_back(c);  // exactly on the centre
            } else {
                points.push_back({c.h + near(random), c.v + near(random)});
            }
        }
        document.art.push_back(PathThrough(points));
        document.art.back().selected = random() % 10 != 0;
    }
    return document;
}

TEST(Joints, TheGridFindsExactlyThePairsMeasuredOneByOne) {
    std::mt19937 random(3);
    for (int round = 0; round < 4; ++round) {
        const headless::Document document = ScatteredClusters(random);
        for (const double tolerance : {0.0, 0.02, 0.07}) {
            const std::vector<Pair> expected = EveryJoint(document, tolerance);
            EXPECT_FALSE(expected.empty());
            EXPECT_EQ(Found(document, tolerance), expected)
                << "round " << round << ", tolerance " << tolerance;
        }
    }
}

TEST(Joints, AnchorsExactlyTheToleranceApartAreJoinedAndNoFurther) {
    struct Case {
        RealPoint a, b;
        double tolerance;
        bool joined;
    };
    const double justUnder = std::nextafter(5.0, 0.0);
    const Case cases[] = {
        {{0.0f, 0.0f}, {3.0f, 4.0f}, 5.0, true},
        {{0.0f, 0.0f}, {3.0f, 4.0f}, justUnder, false},
        {{-1.5f, 2.0f}, {-1.5f, 2.0f}, 0.0, true},  // the same position, no tolerance
        {{0.0f, 0.0f}, {0.0f, std::nextafter(0.0f, 1.0f)}, 0.0, false},
        {{1e6f, -1e6f}, {1e6f + 0.0625f, -1e6f}, 0.0625, true},
        {{1e6f, -1e6f}, {1e6f + 0.125f, -1e6f}, 0.0625, false},
    };
    for (const Case& c : cases) {
        headless::Document document;
        document.art = {PathThrough({c.a}), PathThrough({c.b})};
        const std::vector<cli::Joint> joints = cli::FindJoints(document, c.tolerance);
        EXPECT_EQ(joints.size(), c.joined ? 1u : 0u)
            << c.b.h << "," << c.b.v << " within " << c.tolerance;
        // Counted after a move: still joined where it stayed within the tolerance.
        if (!c.joined) continue;
        headless::Document after = document;
        EXPECT_EQ(cli::CountSplit(after, joints, c.tolerance), 0u);
        after.art[1].segments[0].p.h += 1.0f;
        EXPECT_EQ(cli::CountSplit(after, joints, c.tolerance), 1u);
    }
}

}  // namespace
