#include "cli/Progress.h"

#include <iostream>
#include <utility>

#if defined(_WIN32)
#include <io.h>
#define PELVARO_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define PELVARO_ISATTY(fd) isatty(fd)
#endif

namespace cli {

std::ostream* ProgressStream(std::ostream& err) {
    return &err == &std::cerr && PELVARO_ISATTY(2) ? &err : nullptr;
}

Progress::Progress(std::string command, std::ostream* stream, Clock::duration delay,
                   Clock::duration redraw)
    : command_(std::move(command)),
      stream_(stream),
      showFrom_(Clock::now() + delay),
      redraw_(redraw) {}

Progress::~Progress() { Finish(); }

void Progress::Phase(std::string_view phase) {
    if (stream_ == nullptr) return;
    phase_ = phase;
    percent_ = -1;
    Show(true);
}

void Progress::Fraction(std::size_t done, std::size_t total) {
    if (stream_ == nullptr || total == 0) return;
    const int percent = static_cast<int>(done >= total ? 100 : done * 100 / total);
    if (percent == percent_) return;
    percent_ = percent;
    Show(false);
}

void Progress::Show(bool force) {
    const Clock::time_point now = Clock::now();
    if (now < showFrom_ || (!force && now - lastShown_ < redraw_)) return;
    lastShown_ = now;
    std::string line = "pelvaro " + command_ + ": " + phase_;
    if (percent_ >= 0) line += " " + std::to_string(percent_) + "%";
    // Spaces over what a longer line left.
    const std::size_t width = line.size();
    if (width < shownWidth_) line.append(shownWidth_ - width, ' ');
    *stream_ << '\r' << line << std::flush;
    shownWidth_ = width;
}

void Progress::Clear() {
    if (stream_ == nullptr || shownWidth_ == 0) return;
    *stream_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

void Progress::Finish() {
    Clear();
    stream_ = nullptr;
}

}  // namespace cli
