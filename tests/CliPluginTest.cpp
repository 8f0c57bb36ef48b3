// `pelvaro about`, `pelvaro info`, and `pelvaro run` going through the
// filter's dialog: the dialog orders the gray range and clamps the range,
// and a module whose declaration is wrong is refused before it is loaded.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/FileIO.h"
#include "cli/PluginCommands.h"
#include "headless/PluginResources.h"
#include "support/CliRunner.h"
#include "support/PluginUnderTest.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Args;
using testing_support::Outcome;
using testing_support::PluginArgs;
using testing_support::RunCli;
using testing_support::TempDir;
using testing_support::With;

const std::string kMosaic = std::string(PELVARO_FIXTURES) + "/small-mosaic.json";

TEST(CliPlugin, AboutPrintsTheBoxTheItemShows) {
    const Outcome outcome = RunCli(With({"about"}, PluginArgs()));
    ASSERT_EQ(outcome.status, cli::kExitOk) << outcome.err;
    EXPECT_EQ(outcome.out,
              "About Pelvaro\n"
              "Pelvaro 0.1b\\nwww.tovi-plugins.example\\nCopyright (c) 2026 tovi plug-ins\\n\\n\n");
    EXPECT_EQ(outcome.err, "");
}

TEST(CliPlugin, InfoPrintsTheDeclarationAndTheRegisteredFilter) {
    const Outcome outcome = RunCli(With({"info"}, PluginArgs()));
    ASSERT_EQ(outcome.status, cli::kExitOk) << outcome.err;
#if defined(_WIN32)
    // Read from the module itself, named as the CLI loaded it: absolute, in Windows form.
    const std::string origin = std::filesystem::absolute(PELVARO_MODULE_PATH).string();
#else
    const std::string origin = testing_support::PluginResourceFile();
#endif
    EXPECT_EQ(outcome.out, "resources: " + origin +
                               "\n"
                               "PiPL 16000:\n"
                               "  kind  SPEA\n"
                               "  ivrs  2\n"
                               "  wx86  PluginMain\n"
                               "  pinm  Pelvaro\n"
                               "filter Pelvaro:\n"
                               "  category  tovi plug-ins\n"
                               "  title     Pelvaro\n");
}

TEST(CliPlugin, RunTakesItsValuesThroughTheDialog) {
    TempDir dir;
    const auto run = [&](const std::string& name, Args values) {
        Args args = With({"run", kMosaic, "-o", dir / name, "--seed", "5"}, PluginArgs());
        args.insert(args.end(), values.begin(), values.end());
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, cli::kExitOk) << outcome.err;
        return cli::ReadTextFile(dir / name);
    };
    const std::string ordered = run("ordered.json", {"--gray-min", "20", "--gray-max", "80"});
    EXPECT_EQ(run("swapped.json", {"--gray-min", "80", "--gray-max", "20"}), ordered);
    EXPECT_NE(run("other.json", {"--gray-min", "20", "--gray-max", "90"}), ordered);

    const std::string clamped = run("limit.json", {"--range", "1000"});
    EXPECT_EQ(run("beyond.json", {"--range", "1500"}), clamped);
    EXPECT_NE(run("below.json", {"--range", "999"}), clamped);
}

TEST(CliPlugin, ACancelledDialogEndsTheRunWithItsCode) {
    TempDir dir;
    const HostErr stop = FourCharCode('S', 'T', 'O', 'P');
    const Outcome outcome =
        RunCli(With({"run", kMosaic, "-o", dir / "out.json", "--seed", "1"}, PluginArgs()),
               [stop](headless::Host& host) { host.FailOperation("MdMemory.NewHandle", stop); });
    EXPECT_EQ(outcome.status, cli::kExitFailed);
    EXPECT_NE(outcome.err.find("\"AI Filter\"/\"AI Get Parameters\" with 'STOP'"),
              std::string::npos)
        << outcome.err;
    EXPECT_FALSE(fs::exists(dir / "out.json"));
}

// bytes with the entry-point property's text misspelt.
std::string WithWrongEntryPoint(std::string bytes) {
    // 'wx86' as stored, id 0, length 12, then the text.
    const std::string property = std::string("68xw\0\0\0\0\x0c\0\0\0", 12) + "PluginMain";
    const auto at = bytes.find(property);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) bytes.replace(at + 12, 10, "PluginMaim");
    return bytes;
}

TEST(CliPlugin, AModuleWithAWrongDeclarationIsRefused) {
    TempDir dir;
#if defined(_WIN32)
    // The module itself, its PiPL changed.
    const std::string resources = dir / "Wrong.aip";
    std::ofstream(resources, std::ios::binary)
        << WithWrongEntryPoint(cli::ReadTextFile(PELVARO_MODULE_PATH));
#else
    // The shipped resources, changed, beside a module of the same name.
    const std::string resources = dir / "Wrong.res";
    std::ofstream(resources, std::ios::binary)
        << WithWrongEntryPoint(cli::ReadTextFile(testing_support::PluginResourceFile()));
    std::ofstream(dir / "Wrong.aip", std::ios::binary) << "never loaded";
#endif
    for (const Args& args : {Args{"info", "--plugin", dir / "Wrong.aip"},
                             Args{"about", "--plugin", dir / "Wrong.aip"}}) {
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, cli::kExitBadInput) << args[0];
        EXPECT_NE(outcome.err.find(resources + ": PiPL 16000"), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("entry point is \"PluginMaim\", expected \"PluginMain\""),
                  std::string::npos)
            << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

#if !defined(_WIN32) && !defined(PELVARO_IN_PROCESS)
// The shipped resources with the bytes after pattern's first match replaced.
std::string Patched(const std::string& pattern, std::size_t skip, const std::string& with) {
    std::string bytes = cli::ReadTextFile(testing_support::PluginResourceFile());
    const auto at = bytes.find(pattern);
    EXPECT_NE(at, std::string::npos);
    if (at != std::string::npos) bytes.replace(at + skip, with.size(), with);
    return bytes;
}

TEST(CliPlugin, ADialogOrStringListTheHostCannotReadIsReportedWithWhy) {
    TempDir dir;
    // The type and name of an entry's header: DIALOG 16000, STRINGTABLE block 1001.
    const std::string dialog("\xFF\xFF\x05\x00\xFF\xFF\x80\x3E", 8);
    const std::string strings("\xFF\xFF\x06\x00\xFF\xFF\xE9\x03", 8);
    // Past the rest of the header (memory flags, language, versions, characteristics).
    const std::size_t toData = 8 + 16;
    const std::string otherType("\x55\x00", 2);
    const std::string run = dir / "out.json";
    struct Case {
        const char* what;
        std::string res;
        std::string command;
        std::vector<const char*> fragments;
    };
    const Case cases[] = {
        {"no dialog",
         Patched(dialog, 2, otherType),
         "run",
         {"answered \"AI Filter\"/\"AI Get Parameters\" with 'STOP' after the host failed it: ",
          "ADMDialog.Modal did not show dialog 16000: ", "has no dialog 16000"}},
        {"an extended dialog template",
         Patched(dialog, toData, std::string("\x01\x00\xFF\xFF", 4)),
         "run",
         {"with 'STOP' after the host failed it: ADMDialog.Modal did not show dialog 16000: ",
          "DIALOG 16000: byte 0: an extended (DIALOGEX) template"}},
        {"no string list",
         Patched(strings, 2, otherType),
         "info",
         {"the host could not do what the plug-in asked while it handled "
          "\"SP Interface\"/\"Startup\": ADMBasic.GetIndexString (list 16000, index 1, 65 bytes): ",
          "has no string 16001", "; also ADMBasic.GetIndexString (list 16000, index 2"}},
        {"a string longer than its block",
         Patched(strings, toData, std::string("\xFF\x7F", 2)),
         "info",
         {"while it handled \"SP Interface\"/\"Startup\": ADMBasic.GetIndexString",
          "STRINGTABLE block 1001: byte 2: string text needs 65534 bytes"}},
        {"no string list, in a run",
         Patched(strings, 2, otherType),
         "run",
         {"has no string 16001"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir / "Broken.aip");
        fs::copy_file(PELVARO_MODULE_PATH, dir / "Broken.aip");
        std::ofstream(dir / "Broken.res", std::ios::binary | std::ios::trunc) << c.res;
        Args args{c.command, "--plugin", dir / "Broken.aip"};
        if (c.command == "run") args.insert(args.end(), {kMosaic, "-o", run, "--seed", "1"});
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, cli::kExitFailed);
        for (const char* fragment : c.fragments)
            EXPECT_NE(outcome.err.find(fragment), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_FALSE(fs::exists(run));
    }
}
#endif

TEST(CliPlugin, UnknownOptionsAreBadInput) {
    for (const Args& args :
         {Args{"about", "--frob"}, Args{"info", "extra"}, Args{"info", "--plugin"}}) {
        const Outcome outcome = RunCli(args);
        EXPECT_EQ(outcome.status, cli::kExitBadInput) << args[1];
        EXPECT_NE(outcome.err.find("see 'pelvaro " + args[0] + " --help'"), std::string::npos)
            << outcome.err;
    }
}

}  // namespace
