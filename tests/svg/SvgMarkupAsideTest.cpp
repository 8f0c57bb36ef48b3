// A run frees an SVG's markup while the filter runs and parses the input
// again to write it back: the output must be what keeping the tree gives,
// and an input that changed meanwhile must be refused, never half-applied.
#include <gtest/gtest.h>

#if defined(__linux__)
#include <unistd.h>
#endif

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/FileIO.h"
#include "cli/InputError.h"
#include "cli/svg/SvgDocument.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace {

using testing_support::Args;
using testing_support::PluginArgs;
using testing_support::TempDir;
using testing_support::With;

const std::string kMosaic = std::string(PELVARO_FIXTURES) + "/svg/mosaic.svg";

// Moves every other path and recolours every third, as a run with some
// paths unselected would.
void Change(cli::SvgDocumentFile& file) {
    for (std::size_t a = 0; a < file.document.art.size(); ++a) {
        headless::Art& art = file.document.art[a];
        if (a % 2 == 0) {
            for (PathSegment& segment : art.segments) {
                segment.p.h += 1.5f;
                segment.out.v -= 0.25f;
            }
        }
        if (a % 3 == 0) {
            art.style.fillPaint = 1;
            art.style.fillColorKind = kGrayColor;
            art.style.fillColor[0] = 0.25f;
        }
    }
}

std::string Utf16(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (const char c : ascii) out += {c, '\0'};
    return out;
}

TEST(SvgMarkupAside, ReadAgainItWritesWhatTheKeptTreeWrites) {
    const std::string paths =
        "<g id=\"layer\"><text>left alone</text><rect id=\"r\" width=\"4\" height=\"2\"/>"
        "<use href=\"#r\"/><g transform=\"rotate(30)\"><path d=\"M0 0L5 5\"/>"
        "<circle r=\"3\"/></g></g><defs><path id=\"hidden\" d=\"M1 1H2\"/></defs>"
        "<path d=\"M0 0H1V1ZM3 3H4V4Z\" style=\"fill:red\"/>";
    const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\">" + paths + "</svg>";
    struct Case {
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {"a drawing of many kinds", cli::ReadTextFile(kMosaic)},
        {"paths between elements left alone", svg},
        {"entities in the doctype",
         "<!DOCTYPE svg [<!ENTITY ns \"http://www.w3.org/2000/svg\"><!ENTITY s 'fill:none'>]>"
         "<svg xmlns=\"&ns;\"><path style=\"&s;\" d=\"M0 0H1V1Z\"/>" +
             paths + "</svg>"},
        {"UTF-16", Utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + svg)},
    };
    for (const Case& c : cases) {
        cli::SvgDocumentFile kept = cli::ReadDocumentSvg(c.text, "t.svg");
        cli::SvgDocumentFile aside = cli::ReadDocumentSvg(c.text, "t.svg");
        ASSERT_GT(kept.document.art.size(), 2u) << c.name;
        cli::SetMarkupAside(aside);
        EXPECT_EQ(aside.xml, nullptr) << c.name;
        Change(kept);
        Change(aside);
        cli::RestoreMarkup(aside, c.text, "t.svg");
        const std::string expected = cli::WriteDocumentSvg(kept);
        EXPECT_NE(expected, cli::WriteDocumentSvg(cli::ReadDocumentSvg(c.text, "t.svg")))
            << c.name;  // the changes show
        EXPECT_EQ(cli::WriteDocumentSvg(aside), expected) << c.name;
    }
}

TEST(SvgMarkupAside, ATextOtherThanTheOneReadIsRefused) {
    const std::string text = cli::ReadTextFile(kMosaic);
    std::string sameSize = text;
    sameSize[sameSize.find("<path") + 1] = 'g';
    for (const std::string& other : {sameSize, text + "\n", std::string()}) {
        cli::SvgDocumentFile file = cli::ReadDocumentSvg(text, "mosaic.svg");
        cli::SetMarkupAside(file);
        try {
            cli::RestoreMarkup(file, other, "mosaic.svg");
            ADD_FAILURE() << "accepted a text of " << other.size() << " bytes";
        } catch (const cli::InputError& error) {
            EXPECT_EQ(
                std::string(error.what()).rfind("mosaic.svg: changed while the filter ran", 0), 0u)
                << error.what();
        }
    }
}

TEST(SvgMarkupAside, AnInputChangedDuringTheRunLeavesTheOutputAlone) {
    TempDir dir;
    const std::string input = dir / "in.svg";
    const std::string output = dir / "out.svg";
    std::ofstream(input, std::ios::binary) << cli::ReadTextFile(kMosaic);
    std::ofstream(output, std::ios::binary) << "as it was";
    // The host's setup runs once the document is read: the file changes then.
    const auto edit = [&](headless::Host&) {
        std::ofstream(input, std::ios::binary | std::ios::app) << "<!-- saved again -->\n";
    };
    const testing_support::Outcome run = testing_support::RunCli(
        With({"run", input, "-o", output, "--seed", "3"}, PluginArgs()), edit);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(input + ": changed while the filter ran"), std::string::npos) << run.err;
    EXPECT_EQ(cli::ReadTextFile(output), "as it was");
}

TEST(SvgMarkupAside, AnSvgFromStandardInputComesOutAsFromItsFile) {
    TempDir dir;
    const Args options = With({"--seed", "5", "--fill", "--format", "svg"}, PluginArgs());
    ASSERT_EQ(testing_support::RunCli(With({"run", kMosaic, "-o", dir / "a.svg"}, options)).status,
              0);
    std::istringstream piped(cli::ReadTextFile(kMosaic));
    std::streambuf* const stdinBuffer = std::cin.rdbuf(piped.rdbuf());
    const testing_support::Outcome run =
        testing_support::RunCli(With({"run", "-", "-o", dir / "b.svg"}, options));
    std::cin.rdbuf(stdinBuffer);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(cli::ReadTextFile(dir / "b.svg"), cli::ReadTextFile(dir / "a.svg"));
}

#if defined(__linux__)
TEST(SvgMarkupAside, AnSvgFromAPipeIsNotReadTwice) {
    TempDir dir;
    const Args options = With({"--seed", "5", "--fill"}, PluginArgs());
    ASSERT_EQ(testing_support::RunCli(With({"run", kMosaic, "-o", dir / "a.svg"}, options)).status,
              0);
    // As a shell's <(command) gives it: a path that reads a pipe, once.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string text = cli::ReadTextFile(kMosaic);
    ASSERT_LT(text.size(), 4096u);  // fits in the pipe, so no writer has to wait
    ASSERT_EQ(write(ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(ends[1]);
    const testing_support::Outcome run = testing_support::RunCli(
        With({"run", "/dev/fd/" + std::to_string(ends[0]), "-o", dir / "b.svg", "--format", "svg"},
             options));
    close(ends[0]);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(cli::ReadTextFile(dir / "b.svg"), cli::ReadTextFile(dir / "a.svg"));
}
#endif

}  // namespace
