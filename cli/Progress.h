// A one-line progress display for long runs: the phase and how far it is,
// redrawn in place on the terminal, shown only once a run has taken a moment
// (a quick run prints nothing) and wiped when done. Off unless given a
// stream, which ProgressStream gives only for a terminal.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// &err when err is the process's standard error and that is a terminal, else
// null: a pipe, a file or a test's stream gets no progress lines.
std::ostream* ProgressStream(std::ostream& err);

class Progress {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kDelay = std::chrono::milliseconds(700);
    // A terminal need not see every percent.
    static constexpr Clock::duration kRedraw = std::chrono::milliseconds(100);

    // Lines read "pelvaro COMMAND: PHASE"; nothing is written to a null
    // stream. Shown from delay on, a fraction redrawn at most every redraw.
    Progress(std::string command, std::ostream* stream, Clock::duration delay = kDelay,
             Clock::duration redraw = kRedraw);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void Phase(std::string_view phase);
    // The current phase, done of total.
    void Fraction(std::size_t done, std::size_t total);
    // Wipes the line, if one is shown, so that other text can follow; the
    // next phase or fraction draws it again.
    void Clear();
    // Clears; later calls show nothing.
    void Finish();

private:
    void Show(bool force);

    std::string command_;
    std::ostream* stream_;
    Clock::time_point showFrom_;
    Clock::duration redraw_;
    Clock::time_point lastShown_{};
    std::string phase_;
    int percent_ = -1;            // -1: no fraction in this phase
    std::size_t shownWidth_ = 0;  // 0: nothing on the line
};

}  // namespace cli
