// `pelvaro run` and `pelvaro demo` end to end through the built plug-in:
// runs repeat from their seed, bad input leaves OUT alone, and the plug-in's
// error codes reach the user.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/DocumentJson.h"
#include "cli/FileIO.h"
#include "cli/FilterRun.h"
#include "cli/Mosaic.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#if defined(__linux__)
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

using testing_support::Args;
using testing_support::Outcome;
using testing_support::PluginArgs;
using testing_support::TempDir;
using testing_support::With;

// "pelvaro run" with args.
Outcome RunTool(const Args& args, const cli::HostSetup& setup = {}) {
    return testing_support::RunCli(With({"run"}, args), setup);
}

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

const std::string kMosaic = std::string(PELVARO_FIXTURES) + "/small-mosaic.json";

TEST(CliRun, SameSeedSameOutputOtherSeedOtherOutput) {
    TempDir dir;
    const Args plugin = PluginArgs();
    ASSERT_EQ(RunTool(With({kMosaic, "-o", dir / "a.json", "--seed", "11"}, plugin)).status, 0);
    ASSERT_EQ(RunTool(With({kMosaic, "-o", dir / "b.json", "--seed", "11"}, plugin)).status, 0);
    ASSERT_EQ(RunTool(With({kMosaic, "-o", dir / "c.json", "--seed", "12"}, plugin)).status, 0);
    const std::string a = cli::ReadTextFile(dir / "a.json");
    EXPECT_EQ(a, cli::ReadTextFile(dir / "b.json"));
    EXPECT_NE(a, cli::ReadTextFile(dir / "c.json"));

    const cli::DocumentFile before = cli::ReadDocumentJson(cli::ReadTextFile(kMosaic), "in");
    const cli::DocumentFile after = cli::ReadDocumentJson(a, "a.json");
    ASSERT_EQ(after.document.art.size(), before.document.art.size());
    // The selected squares meet at (20, 0) and (20, 20) and still do.
    const auto& left = after.document.art[0].segments;
    const auto& right = after.document.art[1].segments;
    EXPECT_EQ(left[1].p.h, right[0].p.h);
    EXPECT_EQ(left[1].p.v, right[0].p.v);
    EXPECT_EQ(left[2].p.h, right[3].p.h);
    EXPECT_EQ(left[2].p.v, right[3].p.v);
    EXPECT_NE(left[1].p.h, 20.0f);
    // The unselected square, the text and the document's own members stay.
    const cli::RunSummary summary = cli::Summarize(before.document, after.document);
    EXPECT_EQ(summary.sharedKept, summary.sharedPositions);
    EXPECT_LE(summary.largestOffset, 3.0);
    const auto& alone = after.document.art[4].segments;
    EXPECT_EQ(alone[0].p.h, 40.0f);
    EXPECT_EQ(alone[0].p.v, 0.0f);
    EXPECT_EQ(after.document.art[5].passthrough, before.document.art[5].passthrough);
    EXPECT_EQ(after.members, before.members);
    // Fill on: the filled paths are gray now, the unfilled one has no fill still.
    EXPECT_EQ(after.document.art[2].style.fillColorKind, kGrayColor);
    EXPECT_EQ(after.document.art[1].style.fillPaint, 0);
}

TEST(CliRun, PickedSeedIsPrintedAndRepeatsTheRun) {
    TempDir dir;
    const Outcome picked = RunTool(With({kMosaic, "-o", dir / "a.json"}, PluginArgs()));
    ASSERT_EQ(picked.status, 0) << picked.err;
    ASSERT_EQ(picked.err.rfind("seed: ", 0), 0u) << picked.err;
    const std::string seed = picked.err.substr(6, picked.err.find('\n') - 6);
    ASSERT_EQ(RunTool(With({kMosaic, "-o", dir / "b.json", "--seed", seed}, PluginArgs())).status,
              0);
    EXPECT_EQ(cli::ReadTextFile(dir / "a.json"), cli::ReadTextFile(dir / "b.json"));
}

TEST(CliRun, SvgOutputWhenOutEndsInSvg) {
    TempDir dir;
    const Outcome outcome =
        RunTool(With({kMosaic, "-o", dir / "a.SVG", "--seed", "1"}, PluginArgs()));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string svg = cli::ReadTextFile(dir / "a.SVG");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<path d=\"M "), std::string::npos);
}

TEST(CliRun, BadInputLeavesOutAsItWas) {
    TempDir dir;
    const std::string tooLong = [] {
        std::string text = "{\"art\": [{\"segments\": [";
        for (int i = 0; i < 32768; ++i) text += i == 0 ? "{\"p\": [0, 0]}" : ", {\"p\": [0, 0]}";
        return text + "]}]}";
    }();
    Write(dir / "malformed.json", "{\"art\": [\n  {\"segments\": [}\n]}");
    Write(dir / "long.json", tooLong);
    Write(dir / "huge.json", "{\"art\": [{}, {\"segments\": [{\"p\": [1e39, 0]}]}]}");
    const HostErr stop = FourCharCode('S', 'T', 'O', 'P');
    struct Case {
        const char* name;
        Args args;
        cli::HostSetup setup;
        const char* fragment;
        int status;
    };
    const Case cases[] = {
        {"unreadable", With({dir / "missing.json"}, PluginArgs()), {}, "cannot read '", 2},
        {"malformed",
         With({dir / "malformed.json"}, PluginArgs()),
         {},
         "malformed.json:2:17: malformed JSON",
         2},
        {"too many segments",
         With({dir / "long.json"}, PluginArgs()),
         {},
         "art[0]: the path has 32768 segments",
         2},
        {"out of float range",
         With({dir / "huge.json"}, PluginArgs()),
         {},
         "art[1].segments[0]: \"p\" x 1e39 is out of float range",
         2},
        {"bad flag", With({kMosaic, "--range", "-2"}, PluginArgs()), {}, "--range '-2'", 2},
        {"plug-in not loadable",
         {kMosaic, "--plugin", dir / "nowhere.aip"},
         {},
         "cannot load the plug-in module '",
         2},
        {"plug-in answers STOP", With({kMosaic, "--seed", "3"}, PluginArgs()),
         [stop](headless::Host& host) { host.FailOperation("Path.SetPathSegments", stop); },
         "the plug-in answered \"AI Filter\"/\"AI Go\" with 'STOP'", 1},
        {"plug-in answers an unprintable code", With({kMosaic, "--seed", "3"}, PluginArgs()),
         [](headless::Host& host) { host.FailOperation("MatchingArt.GetMatchingArt", -108); },
         "with -108", 1},
    };
    for (const Case& c : cases) {
        for (const bool exists : {false, true}) {
            const std::string out = dir / "out.json";
            fs::remove(out);
            if (exists) Write(out, "as it was");
            const Outcome outcome = RunTool(With(c.args, {"-o", out}), c.setup);
            EXPECT_EQ(outcome.status, c.status) << c.name;
            EXPECT_NE(outcome.err.find(c.fragment), std::string::npos)
                << c.name << ": " << outcome.err;
            EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
            if (exists) {
                EXPECT_EQ(cli::ReadTextFile(out), "as it was") << c.name;
            } else {
                EXPECT_FALSE(fs::exists(out)) << c.name;
            }
        }
    }
    // No temporary file is left behind by any of them.
    for (const std::string& name : dir.Names())
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST(CliRun, HostErrorCodesAsText) {
    struct Case {
        HostErr code;
        const char* text;
    };
    const Case cases[] = {
        {FourCharCode('S', 'T', 'O', 'P'), "'STOP'"},
        {FourCharCode('!', 'M', 'E', 'M'), "'!MEM'"},
        {FourCharCode(' ', 'a', '~', 'Z'), "' a~Z'"},
        {-108, "-108"},
        {1, "1"},
        {FourCharCode('A', 'B', 'C', '\x7F'), "1094861695"},
        {FourCharCode('\xC3', 'A', 'B', 'C'), "-1019133373"},
    };
    for (const Case& c : cases) EXPECT_EQ(cli::HostErrText(c.code), c.text) << c.code;
}

// --trace is how a plug-in author sees what the plug-in asked of the host;
// a failed run is when it matters most, so it is written then too.
TEST(CliRun, TraceWritesEveryHostCallAlsoWhenTheRunFails) {
    TempDir dir;
    const HostErr stop = FourCharCode('S', 'T', 'O', 'P');
    struct Case {
        const char* name;
        cli::HostSetup setup;
        int status;
        std::vector<std::string> lines;  // each must be in the trace
    };
    const Case cases[] = {
        {"a good run",
         {},
         0,
         {"Basic.AcquireSuite AI Dictionary Suite -> 0", "Dictionary.Key 0.0_0.0\n",
          "Path.SetPathSegments -> 0\n", "Dictionary.Release -> 0\n"}},
        {"a refused write",
         [stop](headless::Host& host) { host.FailOperation("Path.SetPathSegments", stop); },
         1,
         {"Path.GetPathSegments -> 0\n", "Path.SetPathSegments -> 'STOP' (injected)\n"}},
    };
    for (const Case& c : cases) {
        const std::string trace = dir / "trace.txt";
        const Outcome outcome = RunTool(
            With({kMosaic, "-o", dir / "out.json", "--seed", "2", "--trace", trace}, PluginArgs()),
            c.setup);
        EXPECT_EQ(outcome.status, c.status) << c.name << ": " << outcome.err;
        const std::string text = cli::ReadTextFile(trace);
        for (const std::string& line : c.lines)
            EXPECT_NE(text.find(line), std::string::npos) << c.name << ": " << line << "\n" << text;
    }
}

TEST(CliDemo, WritesFourFilesAndRepeats) {
    TempDir dir;
    std::ostringstream out, err;
    ASSERT_EQ(cli::DemoCommand(With({"-o", dir / "first"}, PluginArgs()), out, err), 0)
        << err.str();
    const std::string summary = out.str();
    for (const char* line : {"seed 7", "paths:", "anchors:", "distinct positions:",
                             "largest offset:", "before.svg", "after.json"}) {
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\n" << summary;
    }
    std::ostringstream again, ignored;
    ASSERT_EQ(cli::DemoCommand(With({"-o", dir / "second"}, PluginArgs()), again, ignored), 0);
    for (const char* name : {"before.svg", "after.svg", "before.json", "after.json"}) {
        EXPECT_EQ(cli::ReadTextFile(dir / "first/" + name),
                  cli::ReadTextFile(dir / "second/" + name))
            << name;
    }

    const auto before =
        cli::ReadDocumentJson(cli::ReadTextFile(dir / "first/before.json"), "before.json");
    const auto after = cli::ReadDocumentJson(cli::ReadTextFile(dir / "first/after.json"), "after");
    const cli::RunSummary s = cli::Summarize(before.document, after.document);
    EXPECT_GT(s.sharedPositions, 10);
    EXPECT_EQ(s.sharedKept, s.sharedPositions);  // adjoining tiles still adjoin
    EXPECT_GT(s.largestOffset, 0.0);
    EXPECT_LE(s.largestOffset, 3.0);
    EXPECT_LT(s.selectedPaths, s.paths);
    EXPECT_NE(summary.find("shared positions:   " + std::to_string(s.sharedPositions) +
                           ", still shared after: " + std::to_string(s.sharedKept)),
              std::string::npos)
        << summary;
}

#if defined(__linux__) && !defined(PELVARO_IN_PROCESS)
TEST(CliDemo, ExecutableFindsThePluginBesideIt) {
    TempDir dir;
    const std::string command = std::string("'") + PELVARO_CLI_PATH + "' demo -o '" +
                                (dir / "demo") + "' > '" + (dir / "summary.txt") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << cli::ReadTextFile(dir / "summary.txt");
    EXPECT_TRUE(fs::exists(dir / "demo/after.svg"));
    const std::string bad = std::string("'") + PELVARO_CLI_PATH + "' run --frob 2>/dev/null";
    const int status = std::system(bad.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}
#endif

}  // namespace
