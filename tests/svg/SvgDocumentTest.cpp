// SVG documents read into the host's document: fill cascade, selection,
// transforms, faults, and a document written back as it was read.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "cli/InputError.h"
#include "cli/svg/SvgDocument.h"

namespace {

std::string Svg(const std::string& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\">" +
           body + "</svg>";
}

// Each element that became paths, by id, with its first path.
std::map<std::string, const headless::Art*> ById(const cli::SvgDocumentFile& file) {
    std::map<std::string, const headless::Art*> out;
    for (const cli::SvgPathElement& element : file.elements) {
        out[element.node.attribute("id").value()] = &file.document.art[element.firstArt];
    }
    return out;
}

TEST(SvgDocument, FillFollowsTheCascadeAsABrowserComputesIt) {
    struct Case {
        const char* name;
        std::string body;
        bool filled;
    };
    const std::string square = " d=\"M0 0H1V1Z\"";
    const Case cases[] = {
        {"initial black", "<path id=\"p\"" + square + "/>", true},
        {"attribute none", "<path id=\"p\" fill=\"none\"" + square + "/>", false},
        {"style beats attribute", "<path id=\"p\" fill=\"none\" style=\"fill:red\"" + square + "/>",
         true},
        {"class rule beats attribute",
         "<style>.c{fill:none}</style><path id=\"p\" class=\"x c\" fill=\"red\"" + square + "/>",
         false},
        {"style beats rule",
         "<style>#p{fill:none}</style><path id=\"p\" style=\"fill:#000\"" + square + "/>", true},
        {"important rule beats style",
         "<style>path{fill:none !important}</style><path id=\"p\" style=\"fill:red\"" + square +
             "/>",
         false},
        {"id beats class",
         "<style>#p{fill:red} .c{fill:none}</style><path id=\"p\" class=\"c\"" + square + "/>",
         true},
        {"later rule of equal weight wins",
         "<style>.c{fill:red} .c{fill:none}</style><path id=\"p\" class=\"c\"" + square + "/>",
         false},
        {"comma list",
         "<style>rect, path.c{fill:none}</style><path id=\"p\" class=\"c\"" + square + "/>", false},
        {"compound needs every part",
         "<style>path.c.d{fill:none}</style><path id=\"p\" class=\"c\"" + square + "/>", true},
        {"inherited from the group", "<g fill=\"none\"><path id=\"p\"" + square + "/></g>", false},
        {"inherit keyword",
         "<g style=\"fill:none\"><path id=\"p\" fill=\"inherit\"" + square + "/></g>", false},
        {"own value beats the group's",
         "<g fill=\"none\"><path id=\"p\" fill=\"#123\"" + square + "/></g>", true},
        {"paint server is a fill", "<path id=\"p\" fill=\"url(#g)\"" + square + "/>", true},
        {"currentColor is a fill",
         "<g fill=\"none\"><path id=\"p\" fill=\"currentColor\"" + square + "/></g>", true},
        {"commented rule is not read",
         "<style>/* .c{fill:none} */</style><path id=\"p\" class=\"c\"" + square + "/>", true},
    };
    for (const Case& c : cases) {
        const cli::SvgDocumentFile file = cli::ReadDocumentSvg(Svg(c.body), "t.svg");
        const auto paths = ById(file);
        ASSERT_EQ(paths.count("p"), 1u) << c.name;
        EXPECT_EQ(paths.at("p")->style.fillPaint != 0, c.filled) << c.name;
    }
}

TEST(SvgDocument, SelectsWhatAnEditorLetsAPersonSelectOrTheGivenIds) {
    const std::string body =
        "<defs><path id=\"d\" d=\"M0 0H1V1Z\"/></defs>"
        "<clipPath id=\"clip\"><rect id=\"cr\" width=\"5\" height=\"5\"/></clipPath>"
        "<g id=\"layer\"><path id=\"a\" d=\"M0 0H1V1Z\"/><rect id=\"b\" width=\"2\" "
        "height=\"2\"/></g>"
        "<g id=\"gone\" style=\"display:none\"><path id=\"c\" d=\"M0 0H1V1Z\"/></g>"
        "<path id=\"e\" visibility=\"hidden\" d=\"M0 0H1V1Z\"/>"
        "<g id=\"shown\" visibility=\"hidden\"><path id=\"f\" visibility=\"visible\" d=\"M0 "
        "0H1V1Z\"/></g>"
        "<g id=\"lock\" sodipodi:insensitive=\"true\"><path id=\"g\" d=\"M0 0H1V1Z\"/></g>";
    struct Case {
        std::vector<std::string> ids;
        std::string selected;  // ids of the selected elements, in order
    };
    const Case cases[] = {
        {{}, "a b f "},          {{"a"}, "a "}, {{"layer"}, "a b "},
        {{"lock", "e"}, "e g "}, {{"d"}, ""},  // inside <defs>: never a path of the canvas
    };
    for (const Case& c : cases) {
        cli::SvgReadOptions options;
        options.ids = c.ids;
        const cli::SvgDocumentFile file = cli::ReadDocumentSvg(Svg(body), "t.svg", options);
        std::string selected;
        for (const cli::SvgPathElement& element : file.elements) {
            if (file.document.art[element.firstArt].selected) {
                selected += std::string(element.node.attribute("id").value()) + " ";
            }
        }
        EXPECT_EQ(selected, c.selected) << (c.ids.empty() ? "(no ids)" : c.ids[0]);
        // An id that selects nothing is said, never silent.
        const bool selectsNothing = !c.ids.empty() && c.selected.empty();
        EXPECT_EQ(file.warnings.size(), selectsNothing ? 1u : 0u) << c.ids.size();
    }
}

TEST(SvgDocument, AnchorsAreInRootSpaceThroughEveryTransform) {
    struct Case {
        const char* transforms;  // of the outer group, then of the path
        float x, y;              // where the path's first anchor, (10, 0), lands
    };
    const Case cases[] = {
        {"translate(5) | ", 15, 0},
        {"translate(5,7) | scale(2)", 25, 7},
        {"scale(2 3) | translate(1 1)", 22, 3},
        {"rotate(90) | ", 0, 10},
        {"rotate(90 10 10) | ", 20, 10},
        {"matrix(1 0 0 1 -3 4) | ", 7, 4},
        {"skewY(45) | ", 10, 10},
        {"skewX(45) | translate(0 10)", 20, 10},
        {"translate(1) , scale(2) | ", 21, 0},  // a comma between list items
    };
    for (const Case& c : cases) {
        const std::string text = c.transforms;
        const auto bar = text.find(" | ");
        const std::string body = "<g transform=\"" + text.substr(0, bar) + "\"><path transform=\"" +
                                 text.substr(bar + 3) + "\" d=\"M10 0H20V10Z\"/></g>";
        const cli::SvgDocumentFile file = cli::ReadDocumentSvg(Svg(body), "t.svg");
        ASSERT_EQ(file.document.art.size(), 1u) << c.transforms;
        const RealPoint p = file.document.art[0].segments[0].p;
        EXPECT_NEAR(p.h, c.x, 1e-4) << c.transforms;
        EXPECT_NEAR(p.v, c.y, 1e-4) << c.transforms;
    }
}

TEST(SvgDocument, ShapesAndCompoundPathsBecomeOnePathPerSubpath) {
    struct Case {
        const char* element;
        std::vector<std::size_t> nodes;  // per subpath
        bool closed;
    };
    const Case cases[] = {
        {"<rect width=\"10\" height=\"5\"/>", {4}, true},
        {"<rect width=\"10\" height=\"6\" rx=\"2\"/>", {8}, true},
        {"<circle r=\"3\"/>", {4}, true},
        {"<ellipse rx=\"3\" ry=\"1\"/>", {4}, true},
        {"<line x2=\"1in\" y2=\"2mm\"/>", {2}, false},
        {"<polyline points=\"0,0 1,1 2,0\"/>", {3}, false},
        {"<polygon points=\"0 0 1 1 2 0 0 0\"/>", {3}, true},
        {"<path d=\"M0 0H9V9H0Z M3 3V6H6V3Z\"/>", {4, 4}, true},
        {"<rect width=\"0\" height=\"5\"/>", {}, true},  // draws nothing
    };
    for (const Case& c : cases) {
        const cli::SvgDocumentFile file = cli::ReadDocumentSvg(Svg(c.element), "t.svg");
        ASSERT_EQ(file.document.art.size(), c.nodes.size()) << c.element;
        for (std::size_t i = 0; i < c.nodes.size(); ++i) {
            EXPECT_EQ(file.document.art[i].segments.size(), c.nodes[i]) << c.element;
            EXPECT_EQ(file.document.art[i].closed, c.closed) << c.element;
        }
    }
}

TEST(SvgDocument, BadInputNamesTheLineColumnAndFix) {
    struct Case {
        const char* name;
        std::string text;
        const char* message;  // a part of the message
    };
    const Case cases[] = {
        {"malformed XML", "<svg xmlns=\"http://www.w3.org/2000/svg\">\n  <g></svg>", "t.svg:2:"},
        {"not SVG", "<html/>", "not <svg>"},
        {"bad path", Svg("\n<path d=\"M 0 0 L 1 x\"/>"), "t.svg:2:20: bad path data"},
        {"bad transform", Svg("<g transform=\"translate(1 2\"/>"), "bad transform"},
        {"unknown unit", Svg("<rect width=\"3furlongs\" height=\"1\"/>"), "unknown unit"},
        {"odd points", Svg("<polygon points=\"0 0 1\"/>"), "odd count"},
    };
    for (const Case& c : cases) {
        try {
            cli::ReadDocumentSvg(c.text, "t.svg");
            ADD_FAILURE() << c.name << " was read";
        } catch (const cli::InputError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

TEST(SvgDocument, WhatTheReaderLeavesAloneIsWarnedAbout) {
    const cli::SvgDocumentFile file = cli::ReadDocumentSvg(
        Svg("<use href=\"#a\"/><use href=\"#a\"/><text>t</text><rect width=\"50%\" height=\"2\"/>"
            "<g transform=\"scale(0)\"><path d=\"M0 0H1V1Z\"/></g>"
            "<style>g > path { fill: none } @media print { path { fill: none } }</style>"),
        "t.svg");
    std::string all;
    for (const std::string& warning : file.warnings) all += warning + "\n";
    for (const char* expected : {"<use> clone (it shows its original, moved or not) (2 in all)",
                                 "<text>", "relative to the viewport", "cannot be inverted",
                                 "the rule 'g > path'", "the at-rule '@media print'"}) {
        EXPECT_NE(all.find(expected), std::string::npos) << expected << " in\n" << all;
    }
    EXPECT_TRUE(file.document.art.empty());
}

TEST(SvgDocument, AnUntouchedDocumentIsWrittenBackByteForByte) {
    std::ifstream in(std::string(PELVARO_FIXTURES) + "/svg/mosaic.svg", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const cli::SvgDocumentFile file = cli::ReadDocumentSvg(text.str(), "mosaic.svg");
    // The one formatting change: attributes written on several lines join one line.
    std::string expected = text.str();
    for (std::string::size_type at; (at = expected.find("\n     xmlns")) != std::string::npos ||
                                    (at = expected.find("\n     width")) != std::string::npos;) {
        expected.replace(at, 6, " ");
    }
    EXPECT_EQ(cli::WriteDocumentSvg(file), expected);
}

TEST(SvgDocument, AnotherEncodingIsReadAndWrittenAsUtf8) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" +
                             Svg("<path id=\"\u00e9\" d=\"M0 0H1V1Z\"/>");
    std::string utf16 = "\xFF\xFE";                // little-endian, with its byte order mark
    for (const char c : text) utf16 += {c, '\0'};  // the text is ASCII but for the id
    utf16.replace(utf16.find(std::string("\xC3\0\xA9\0", 4)), 4, std::string("\xE9\0", 2));
    const cli::SvgDocumentFile file = cli::ReadDocumentSvg(utf16, "t.svg");
    ASSERT_EQ(file.document.art.size(), 1u);
    std::string expected = text;
    expected.replace(expected.find("UTF-16"), 6, "UTF-8");
    EXPECT_EQ(cli::WriteDocumentSvg(file), expected + "\n");
}

TEST(SvgDocument, DoctypeEntitiesAreExpandedNotEscaped) {
    // As one illustration program declares its namespaces.
    const std::string text =
        "<!DOCTYPE svg [\n<!ENTITY ns_svg \"http://www.w3.org/2000/svg\">\n"
        "<!ENTITY st0 'fill:none'>\n]>\n"
        "<svg xmlns=\"&ns_svg;\"><path style=\"&st0;\" d=\"M0 0H1V1Z\"/></svg>";
    const cli::SvgDocumentFile file = cli::ReadDocumentSvg(text, "t.svg");
    ASSERT_EQ(file.document.art.size(), 1u);
    EXPECT_EQ(file.document.art[0].style.fillPaint, 0);  // the style came through the entity
    const std::string written = cli::WriteDocumentSvg(file);
    EXPECT_NE(written.find("<svg xmlns=\"http://www.w3.org/2000/svg\">"), std::string::npos)
        << written;
    EXPECT_EQ(written.find("&amp;"), std::string::npos) << written;
}

TEST(SvgDocument, ElementsWithTheSvgPrefixAreRead) {
    const cli::SvgDocumentFile file = cli::ReadDocumentSvg(
        "<svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\"><svg:g transform=\"translate(5)\">"
        "<svg:rect width=\"2\" height=\"2\"/></svg:g></svg:svg>",
        "t.svg");
    ASSERT_EQ(file.document.art.size(), 1u);
    EXPECT_EQ(file.document.art[0].segments[0].p.h, 5.0f);
}

TEST(SvgDocument, ANewGrayWinsOverWhateverSetTheOldFill) {
    const std::string square = " d=\"M0 0H1V1Z\"";
    const std::string bodies[] = {
        "<path id=\"p\" fill=\"red\"" + square + "/>",
        "<style>.c{fill:red}</style><path id=\"p\" class=\"c\"" + square + "/>",
        "<style>.c{fill:red !important}</style><path id=\"p\" class=\"c\"" + square + "/>",
        "<path id=\"p\" style=\"fill:red !important\"" + square + "/>",
    };
    for (const std::string& body : bodies) {
        cli::SvgDocumentFile file = cli::ReadDocumentSvg(Svg(body), "t.svg");
        ASSERT_EQ(file.document.art.size(), 1u) << body;
        PathStyle& style = file.document.art[0].style;
        style.fillColorKind = kGrayColor;  // the host's gray kind, as the filter sets it
        style.fillColor[0] = 0.25f;
        const cli::SvgDocumentFile again =
            cli::ReadDocumentSvg(cli::WriteDocumentSvg(file), "t.svg");
        const float* rgb = again.document.art[0].style.fillColor;
        EXPECT_NEAR(rgb[0], 0.75f, 0.01f) << body;  // luminance 1 - 0.25, not red
        EXPECT_NEAR(rgb[1], 0.75f, 0.01f) << body;
        EXPECT_NEAR(rgb[2], 0.75f, 0.01f) << body;
    }
}

TEST(SvgDocument, StylePropertySetReplacesInPlaceOrAppends) {
    struct Case {
        const char* style;
        const char* result;
    };
    const Case cases[] = {
        {"", "fill:#000"},
        {"stroke:red", "stroke:red;fill:#000"},
        {"fill:red;stroke:blue", "fill:#000;stroke:blue"},
        {"stroke:blue; fill : red ;", "stroke:blue; fill:#000"},
        {"fill:red;fill:green", "fill:#000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::SetStyleProperty(c.style, "fill", "#000"), c.result) << c.style;
}

}  // namespace
