// The benchmarks weigh the plug-in against a plain loop; the comparison is
// fair only if the loop does the same work, so its result must be the
// plug-in's bit for bit.
#include <gtest/gtest.h>

#include <cstring>

#include "bench/GridMosaic.h"
#include "bench/PlainLoop.h"
#include "headless/Host.h"
#include "jitter/PositionText.h"
#include "support/Parameters.h"
#include "support/PluginUnderTest.h"

namespace {

bool SameBits(const headless::Document& a, const headless::Document& b) {
    if (a.art.size() != b.art.size()) return false;
    for (std::size_t i = 0; i < a.art.size(); ++i) {
        const headless::Art& x = a.art[i];
        const headless::Art& y = b.art[i];
        if (x.segments.size() != y.segments.size()) return false;
        if (!x.segments.empty() && std::memcmp(x.segments.data(), y.segments.data(),
                                               x.segments.size() * sizeof(PathSegment)) != 0)
            return false;
        if (std::memcmp(&x.style, &y.style, sizeof x.style) != 0) return false;
    }
    return true;
}

TEST(PlainLoop, MovesAndRecoloursAsThePluginDoesBitForBit) {
    struct Case {
        JitterParams params;
        bench::PositionFormatter format;
    };
    const Case cases[] = {
        {kDefaultJitterParams, &FormatPositionText},
        {kDefaultJitterParams, &bench::SnprintfPositionText},
        {JitterParams{40.0f, 20.0f, 30.0f, 0}, &FormatPositionText},
    };
    testing_support::PluginUnderTest plugin;
    const headless::Document mosaic = bench::GridMosaic(2000);
    for (const Case& c : cases) {
        headless::Document byPlugin = mosaic;
        {
            testing_support::PluginHost host(byPlugin, 9);
            ASSERT_EQ(host.Startup(plugin.entry()), kNoErr);
            testing_support::SetParameters(host, c.params);
            ASSERT_EQ(host.FilterGo(plugin.entry()), kNoErr);
            host.Shutdown(plugin.entry());
        }
        headless::Document byLoop = mosaic;
        bench::PlainJitter(byLoop, c.params, 9, c.format);
        EXPECT_FALSE(SameBits(byLoop, mosaic)) << "nothing moved";
        EXPECT_TRUE(SameBits(byLoop, byPlugin)) << "range " << c.params.moveRange;
    }
}

}  // namespace
