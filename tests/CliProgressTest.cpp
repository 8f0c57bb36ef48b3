// The progress line: drawn in place, only once a run takes a while, and
// wiped before other text and at the end, so that nothing of it stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Progress.h"

namespace {

using std::chrono::hours;
using std::chrono::milliseconds;

// What a terminal shows of text written to one line: each '\r' returns to
// the first column and text overwrites what is there.
std::string Visible(const std::string& written) {
    std::string line;
    std::size_t column = 0;
    for (const char c : written) {
        if (c == '\r') {
            column = 0;
        } else {
            if (column < line.size()) {
                line[column] = c;
            } else {
                line += c;
            }
            ++column;
        }
    }
    return line.substr(0, line.find_last_not_of(' ') + 1);
}

// The lines drawn, one after each '\r'.
std::vector<std::string> Drawn(const std::string& written) {
    std::vector<std::string> lines;
    std::istringstream in(written);
    for (std::string line; std::getline(in, line, '\r');)
        if (!Visible(line).empty()) lines.push_back(Visible(line));
    return lines;
}

TEST(CliProgress, ALongRunShowsItsPhasesAndLeavesNothingBehind) {
    std::ostringstream err;
    {
        cli::Progress progress("run", &err, milliseconds(0), milliseconds(0));
        progress.Phase("reading a-long-file-name.json");
        progress.Fraction(1, 3);
        progress.Clear();
        err << "seed: 7\n";  // other text starts on a clean line
        progress.Phase("filtering");
        progress.Fraction(2, 3);
        progress.Fraction(3, 3);
    }  // the end wipes it
    const std::string written = err.str();
    const std::size_t seed = written.find("seed: 7\n");
    ASSERT_NE(seed, std::string::npos) << written;
    const std::string before = written.substr(0, seed), after = written.substr(seed + 8);
    EXPECT_EQ(Visible(before), "");
    EXPECT_EQ(Visible(after), "");
    EXPECT_EQ(Drawn(before),
              (std::vector<std::string>{"pelvaro run: reading a-long-file-name.json",
                                        "pelvaro run: reading a-long-file-name.json 33%"}));
    EXPECT_EQ(Drawn(after),
              (std::vector<std::string>{"pelvaro run: filtering", "pelvaro run: filtering 66%",
                                        "pelvaro run: filtering 100%"}));
}

TEST(CliProgress, AQuickRunOrANonTerminalShowsNothing) {
    std::ostringstream quick;
    {
        cli::Progress progress("run", &quick, hours(1));
        progress.Phase("reading a.json");
        progress.Fraction(1, 2);
    }
    EXPECT_EQ(quick.str(), "");

    std::ostringstream notTerminal;
    EXPECT_EQ(cli::ProgressStream(notTerminal), nullptr);
}

}  // namespace
