// Runs a command's body and turns whatever it throws into one line on err,
// "pelvaro COMMAND: ...", and the exit status of Commands.h.
#pragma once

#include <ostream>

namespace cli {

// Reports the exception being handled; returns its exit status. Bad input
// (options, documents, a module the host refuses) is 2, every other failure 1.
int ReportCurrentError(const char* command, std::ostream& err);

template <typename Body>
int Guarded(const char* command, std::ostream& err, Body&& body) {
    try {
        return body();
    } catch (...) {
        return ReportCurrentError(command, err);
    }
}

}  // namespace cli
