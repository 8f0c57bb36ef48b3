// End to end: the real plug-in module, loaded by path, runs the filter on two
// paths that share an edge and leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "headless/Host.h"
#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

using testing_support::PluginHost;
using testing_support::SetParameters;

TEST(HostSmoke, TheModuleRunsTheFilterAndLeavesNothingHeld) {
    testing_support::PluginUnderTest plugin;
    headless::Document document;
    document.art = {testing_support::Square(0, 0, 10, true),
                    testing_support::Square(10, 0, 10, true)};
    const headless::Document before = document;

    PluginHost host(document, 2024);
    ASSERT_EQ(host.Startup(plugin.entry()), kNoErr);
    SetParameters(host, {6.0f, 20.0f, 80.0f, 1});
    ASSERT_EQ(host.FilterGo(plugin.entry()), kNoErr);
    EXPECT_TRUE(host.Problems().empty());
    ASSERT_EQ(host.Shutdown(plugin.entry()), kNoErr);
    EXPECT_TRUE(host.Held().Empty()) << host.Held().Describe();

    // Every anchor moved by at most half the range; the shared edge stayed shared.
    for (std::size_t a = 0; a < 2; ++a) {
        for (std::size_t i = 0; i < 4; ++i) {
            const RealPoint was = before.art[a].segments[i].p;
            const RealPoint now = document.art[a].segments[i].p;
            EXPECT_LE(std::hypot(now.h - was.h, now.v - was.v), 3.0f + 1e-4f);
        }
        const PathStyle& style = document.art[a].style;
        EXPECT_EQ(style.fillColorKind, kGrayColor);
        EXPECT_GE(style.fillColor[0], 0.2f);
        EXPECT_LT(style.fillColor[0], 0.8f);
    }
    const auto& left = document.art[0].segments;
    const auto& right = document.art[1].segments;
    EXPECT_EQ(left[1].p.h, right[0].p.h);  // (10,0)
    EXPECT_EQ(left[1].p.v, right[0].p.v);
    EXPECT_EQ(left[2].p.h, right[3].p.h);  // (10,10)
    EXPECT_EQ(left[2].p.v, right[3].p.v);
    EXPECT_GT(host.KeyCount(), 0);
}

}  // namespace

namespace {

TEST(HostSmoke, ProgressFollowsThePlugInThroughTheDocument) {
    testing_support::PluginUnderTest plugin;
    headless::Document document;
    for (int i = 0; i < 1000; ++i)
        document.art.push_back(testing_support::Square(
            10.0f * static_cast<float>(i % 40), 10.0f * static_cast<float>(i / 40), 10, true));

    PluginHost host(document, 7);
    std::vector<std::size_t> reached;
    host.OnArtReached([&](std::size_t n, std::size_t total) {
        EXPECT_EQ(total, 1000u);
        reached.push_back(n);
    });
    ASSERT_EQ(host.Startup(plugin.entry()), kNoErr);
    SetParameters(host, {6.0f, 20.0f, 80.0f, 1});
    ASSERT_EQ(host.FilterGo(plugin.entry()), kNoErr);
    // About a hundred reports, each further on, the last near the end.
    ASSERT_FALSE(reached.empty());
    EXPECT_EQ(reached.front(), 1u);
    EXPECT_LE(reached.size(), 101u);
    EXPECT_TRUE(std::is_sorted(reached.begin(), reached.end()));
    EXPECT_EQ(std::adjacent_find(reached.begin(), reached.end()), reached.end());
    EXPECT_GT(reached.back(), 990u);

    // Once stopped, it stays quiet.
    host.OnArtReached(nullptr);
    reached.clear();
    ASSERT_EQ(host.FilterGo(plugin.entry()), kNoErr);
    EXPECT_TRUE(reached.empty());
    ASSERT_EQ(host.Shutdown(plugin.entry()), kNoErr);
}

}  // namespace
