// Command-line options: what is accepted, and a one-line error with exit
// status 2 for everything that is not.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/InputError.h"
#include "cli/Options.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Call(const Args& args) {
    std::ostringstream out, err;
    const int status = cli::Main(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliOptions, BadOptionsGetOneLineAndStatusTwo) {
    const std::string in = std::string(PELVARO_FIXTURES) + "/small-mosaic.json";
    const fs::path out = fs::temp_directory_path() / "pelvaro-options-test-never-written.json";
    fs::remove(out);
    const std::string o = out.string();
    struct Case {
        Args args;
        const char* fragment;
    };
    const Case cases[] = {
        {{"frob"}, "pelvaro: unknown command 'frob'; see 'pelvaro --help'"},
        {{"--frob"}, "pelvaro: unknown option '--frob'; see 'pelvaro --help'"},
        {{"run", in, "-o", o, "--frob"},
         "pelvaro run: unknown option '--frob'; see 'pelvaro run --help'"},
        {{"run", in, "-o", o, "--frob=3"}, "unknown option '--frob'"},
        {{"run", in}, "pelvaro run: no output given (-o OUT)"},
        {{"run", "-o", o}, "pelvaro run: no input document given"},
        {{"run", in, in, "-o", o}, "is a second"},
        {{"run", in, "-o"}, "option '-o' needs a value"},
        {{"run", in, "-o", o, "--seed"}, "option '--seed' needs a value"},
        {{"run", in, "-o", o, "--seed", "-1"}, "--seed '-1' is not an unsigned 32-bit integer"},
        {{"run", in, "-o", o, "--seed", "4294967296"}, "--seed '4294967296' is not an unsigned"},
        {{"run", in, "-o", o, "--seed", "12abc"}, "--seed '12abc' is not"},
        {{"run", in, "-o", o, "--seed="}, "--seed '' is not"},
        {{"run", in, "-o", o, "--seed", "+5"}, "--seed '+5' is not"},
        {{"run", in, "-o", o, "--range", "-1"},
         "--range '-1' is out of range: the move range must be finite"},
        {{"run", in, "-o", o, "--range", "nan"}, "--range 'nan' is out of range"},
        {{"run", in, "-o", o, "--range=inf"}, "--range 'inf' is out of range"},
        {{"run", in, "-o", o, "--range", "1e39"}, "--range '1e39' is out of range"},
        {{"run", in, "-o", o, "--range", "6pt"}, "--range '6pt' is not a number"},
        {{"run", in, "-o", o, "--gray-min", "101"},
         "--gray-min '101' is out of range: a gray percentage lies between 0 and 100"},
        {{"run", in, "-o", o, "--gray-max", "-0.5"}, "--gray-max '-0.5' is out of range"},
        {{"run", in, "-o", o, "--gray-max", "NaN"}, "--gray-max 'NaN' is out of range"},
        {{"demo", "--gray-min", "80", "--gray-max", "20"}, "--gray-min 80 is above --gray-max 20"},
        {{"demo", "--gray-min", "96"}, "--gray-min 96 is above --gray-max 95"},
        {{"run", in, "-o", o, "--fill=1"}, "option '--fill' takes no value"},
        {{"run", in, "-o", o, "--plugin", ""}, "--plugin needs a file path"},
        {{"run", in, "-o", o, "--timeout", "-1"},
         "--timeout '-1' is not a whole number of seconds"},
        {{"info", "--timeout", "86401"}, "pelvaro info: --timeout '86401' is not a whole number"},
        {{"about", "--timeout=1.5"}, "--timeout '1.5' is not"},
        {{"demo", "extra"}, "pelvaro demo: unexpected argument 'extra'; see 'pelvaro demo --help'"},
        {{"demo", "--range", "x"}, "pelvaro demo: --range 'x' is not a number"},
        {{"demo", "--out", "d"}, "pelvaro demo: unknown option '--out'"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Call(c.args);
        EXPECT_EQ(outcome.status, cli::kExitBadInput) << c.fragment;
        EXPECT_NE(outcome.err.find(c.fragment), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;  // one line
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_FALSE(fs::exists(out)) << c.fragment;
    }
}

TEST(CliOptions, GoodOptionsSetTheParameters) {
    const cli::RunOptions defaults = cli::ParseRunOptions({"in.json", "-o", "out.svg"});
    EXPECT_EQ(defaults.input, "in.json");
    EXPECT_EQ(defaults.output, "out.svg");
    EXPECT_EQ(defaults.filter.params.moveRange, 6.0f);
    EXPECT_EQ(defaults.filter.params.grayMin, 5.0f);
    EXPECT_EQ(defaults.filter.params.grayMax, 95.0f);
    EXPECT_EQ(defaults.filter.params.randomFill, 1);
    EXPECT_FALSE(defaults.filter.seed);
    EXPECT_FALSE(defaults.filter.plugin);

    const cli::RunOptions all = cli::ParseRunOptions(
        {"--seed=4294967295", "--range", "0", "-o", "a.json", "--gray-min=0", "--gray-max", "100",
         "--no-fill", "in.json", "--fill", "--no-fill", "--plugin", "x.aip", "--output=b.json"});
    EXPECT_EQ(all.filter.seed, 4294967295u);
    EXPECT_EQ(all.filter.params.moveRange, 0.0f);
    EXPECT_EQ(all.filter.params.grayMin, 0.0f);
    EXPECT_EQ(all.filter.params.grayMax, 100.0f);
    EXPECT_EQ(all.filter.params.randomFill, 0);  // the last of the fill flags wins
    EXPECT_EQ(all.filter.plugin, "x.aip");
    EXPECT_EQ(all.output, "b.json");

    const cli::DemoOptions demo = cli::ParseDemoOptions({"-o", "pics", "--seed", "0"});
    EXPECT_EQ(demo.directory, "pics");
    EXPECT_EQ(demo.filter.seed, 0u);
    EXPECT_EQ(cli::ParseDemoOptions({}).directory, "pelvaro-demo");
}

TEST(CliOptions, HelpIsPrintedOnStandardOutput) {
    struct Case {
        Args args;
        const char* fragment;
    };
    const Case cases[] = {
        {{"--help"}, "usage: pelvaro <command>"},
        {{"-h"}, "usage: pelvaro <command>"},
        {{"run", "--help"}, "usage: pelvaro run IN -o OUT [--format svg|json]"},
        {{"run", "in.json", "--frob", "--help"}, "unknown option"},  // an error before help wins
        {{"demo", "--help"}, "usage: pelvaro demo [-o DIR]"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = Call(c.args);
        const std::string& text = outcome.status == 0 ? outcome.out : outcome.err;
        EXPECT_NE(text.find(c.fragment), std::string::npos) << text;
    }
    const Outcome none = Call({});
    EXPECT_EQ(none.status, cli::kExitBadInput);
    EXPECT_NE(none.err.find("usage: pelvaro"), std::string::npos);
}

}  // namespace
