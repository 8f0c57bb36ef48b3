// Errors the tool reports to the user as one line.
#pragma once

#include <stdexcept>

namespace cli {

// Bad input: unreadable or malformed files, bad options. Exit status 2.
struct InputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The job could not be done with good input: the plug-in failed, the output
// could not be written. Exit status 1.
struct JobError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace cli
