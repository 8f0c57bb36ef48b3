// `pelvaro run` on an SVG mosaic whose shared corners differ by float noise
// across a one-decimal boundary: without --weld the run splits joints and
// says so; with it every joint holds, and the rest of the document stays.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Documents.h"
#include "cli/Joints.h"
#include "cli/svg/SvgDocument.h"

namespace {

const std::string kMosaic = std::string(PELVARO_FIXTURES) + "/svg/mosaic.svg";

std::string ReadFixture() {
    std::ifstream in(kMosaic, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status;
    std::string out, err;
};

Outcome RunMosaic(std::vector<std::string> extra) {
    std::vector<std::string> args = {kMosaic,  "-o", "-",       "--format", "svg",
                                     "--seed", "11", "--range", "8"};
#if !defined(PELVARO_IN_PROCESS)
    args.insert(args.end(), {"--plugin", PELVARO_MODULE_PATH});
#endif
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    const int status = cli::RunCommand(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(SvgRun, JointsSplitWithoutWeldAndHoldWithIt) {
    const cli::SvgDocumentFile before = cli::ReadDocumentSvg(ReadFixture(), "before");
    const std::vector<cli::Joint> joints = cli::FindJoints(before.document, 0.02);
    ASSERT_EQ(joints.size(), 14u);  // the corners the tiles share, counted by hand

    struct Case {
        std::vector<std::string> options;
        bool kept;
    };
    const Case cases[] = {{{}, false}, {{"--weld", "0.02"}, true}};
    for (const Case& c : cases) {
        const Outcome run = RunMosaic(c.options);
        ASSERT_EQ(run.status, 0) << run.err;
        const cli::SvgDocumentFile after = cli::ReadDocumentSvg(run.out, "after");
        ASSERT_EQ(after.document.art.size(), before.document.art.size());
        const std::size_t split = cli::CountSplit(after.document, joints, 0.02);
        if (c.kept) {
            EXPECT_EQ(split, 0u);
            EXPECT_NE(run.err.find("joints: 14 between selected paths"), std::string::npos)
                << run.err;
            EXPECT_NE(run.err.find("the run kept every one"), std::string::npos) << run.err;
        } else {
            EXPECT_GT(split, 0u);
            EXPECT_NE(run.err.find("the run split " + std::to_string(split) +
                                   " (--weld 0.02 keeps them joined)"),
                      std::string::npos)
                << run.err;
        }
        // Every anchor moved by at most half the range (and the weld's snap).
        for (std::size_t a = 0; a < before.document.art.size(); ++a) {
            const auto& was = before.document.art[a].segments;
            const auto& is = after.document.art[a].segments;
            ASSERT_EQ(was.size(), is.size());
            for (std::size_t s = 0; s < was.size(); ++s) {
                EXPECT_LE(std::hypot(is[s].p.h - was[s].p.h, is[s].p.v - was[s].p.v),
                          4.0 + 0.02 + 1e-3);
            }
        }
    }
}

TEST(SvgRun, EveryElementAndAttributeBesideTheGeometryStays) {
    const Outcome run = RunMosaic({"--weld", "0.02"});
    ASSERT_EQ(run.status, 0) << run.err;
    pugi::xml_document before, after;
    ASSERT_TRUE(before.load_string(ReadFixture().c_str(), pugi::parse_full));
    ASSERT_TRUE(after.load_string(run.out.c_str(), pugi::parse_full));
    // Geometry attributes of shapes that became paths, and the changed style.
    const std::vector<std::string> geometry = {"d", "x", "y", "width", "height", "points", "style"};
    for (const pugi::xpath_node& found : before.select_nodes("//*[@id]")) {
        const pugi::xml_node was = found.node();
        const std::string id = was.attribute("id").value();
        const pugi::xml_node is =
            after.find_node([&](pugi::xml_node n) { return id == n.attribute("id").value(); });
        ASSERT_TRUE(is) << id;
        for (const pugi::xml_attribute attribute : was.attributes()) {
            const std::string name = attribute.name();
            if (std::find(geometry.begin(), geometry.end(), name) != geometry.end()) continue;
            EXPECT_STREQ(is.attribute(name.c_str()).value(), attribute.value())
                << id << " " << name;
        }
    }
    EXPECT_NE(run.out.find("<!-- Tiles whose shared corners"), std::string::npos);
    EXPECT_NE(run.out.find("<text id=\"label\" x=\"5\" y=\"205\">Mosaic</text>"),
              std::string::npos);
    EXPECT_NE(run.out.find("<path id=\"template\" d=\"M 0 0 H 10 V 10 Z\"/>"), std::string::npos);
    EXPECT_NE(run.out.find("<path id=\"frame\" d=\"M 0 0 H 460 V 210 H 0 Z\" fill=\"none\"/>"),
              std::string::npos);  // in a locked layer: not selected, not moved
    // A rect that moved is a path with its other attributes.
    EXPECT_NE(run.out.find("<path id=\"a2\" d=\"M "), std::string::npos);
}

TEST(SvgRun, WeldSnapsChainsOntoTheirFirstAnchorWithTheHandles) {
    const auto at = [](float x, float y) {
        PathSegment s{};
        s.p = s.in = s.out = {x, y};
        return s;
    };
    struct Case {
        bool thirdSelected;  // the middle link of the chain 0 - 0.015 - 0.03
        std::size_t joints;
        float second;  // where the 2nd path's first anchor ends
    };
    const Case cases[] = {{true, 2, 0.0f}, {false, 0, 0.03f}};
    for (const Case& c : cases) {
        headless::Document document;
        for (const float x : {0.0f, 0.03f, 0.015f, 5.0f}) {
            headless::Art art;
            PathSegment s = at(x, 1.0f);
            s.out = {x + 2.0f, 1.0f};
            art.segments = {s, at(x, 9.0f)};
            document.art.push_back(art);
        }
        document.art[2].selected = c.thirdSelected;
        const std::vector<cli::Joint> joints = cli::FindJoints(document, 0.02);
        EXPECT_EQ(joints.size(), c.joints * 2) << c.thirdSelected;  // both ends of each pair
        cli::Weld(document, joints);
        EXPECT_EQ(document.art[1].segments[0].p.h, c.second) << c.thirdSelected;
        EXPECT_EQ(document.art[2].segments[0].p.h, c.thirdSelected ? 0.0f : 0.015f);
        EXPECT_EQ(document.art[3].segments[0].p.h, 5.0f);  // too far from all
        EXPECT_EQ(document.art[2].segments[0].out.h - document.art[2].segments[0].p.h, 2.0f)
            << "the handle comes along";
    }
}

TEST(SvgRun, JointsAreFoundAcrossEveryNeighbouringCellAndOnlyWithinTheTolerance) {
    struct Case {
        float ax, ay, bx, by;
        bool joined;
    };
    const Case cases[] = {
        {0.019f, 0.021f, 0.021f, 0.019f, true},  // diagonal cells, up and right
        {0.021f, 0.021f, 0.019f, 0.019f, true},  // diagonal cells, down and left
        {0.001f, 0.5f, -0.001f, 0.5f, true},     // across zero
        {-5.0f, -5.0f, -5.0f, -5.019f, true},    // the cell above
        {10.0f, 10.0f, 10.03f, 10.0f, false},    // a neighbouring cell, too far
        {249.04f, 0.0f, 249.05f, 0.0f, true},    // float noise across a rounding boundary
        {3.0f, 3.0f, 3.0f, 3.0f, true},
    };
    for (const Case& c : cases) {
        headless::Document document;
        for (const RealPoint p : {RealPoint{c.ax, c.ay}, RealPoint{c.bx, c.by}}) {
            headless::Art art;
            PathSegment s{};
            s.p = s.in = s.out = p;
            art.segments = {s};
            document.art.push_back(art);
        }
        EXPECT_EQ(cli::FindJoints(document, 0.02).size(), c.joined ? 1u : 0u)
            << c.ax << "," << c.ay << " " << c.bx << "," << c.by;
    }
}

TEST(SvgRun, FormatComesFromTheExtensionThenFormatThenTheContent) {
    using cli::DocumentFormat;
    struct Case {
        const char* path;
        std::optional<std::string> format;
        const char* content;
        DocumentFormat expected;
    };
    const Case cases[] = {
        {"map.SVG", std::nullopt, "{}", DocumentFormat::kSvg},
        {"map.json", std::string("svg"), "<svg/>", DocumentFormat::kJson},  // the name tells
        {"", std::string("svg"), "{}", DocumentFormat::kSvg},               // standard input
        {"drawing.xml", std::nullopt, "\n  <svg/>", DocumentFormat::kSvg},
        {"", std::nullopt, " {\"art\": []}", DocumentFormat::kJson},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cli::FormatOf(c.path, c.format, cli::SniffFormat(c.content)), c.expected)
            << c.path;
    }
}

}  // namespace
