// Reading input files and replacing output files all at once.
#pragma once

#include <string>

namespace cli {

// The bytes of the file; throws InputError naming it when it cannot be read.
std::string ReadTextFile(const std::string& path);

// Writes content to path so that a reader never sees half of it.
// A regular file (or a new one) is replaced: content goes to a temporary file
// in the same directory, which is then renamed over it; on failure, or when
// SIGINT, SIGTERM or SIGHUP ends the process meanwhile, the temporary is
// removed and path is left as it was. A symbolic link is followed and its
// target replaced the same way. Anything else (a device, a FIFO) is opened
// and written to, never replaced.
// Throws JobError naming path and the cause.
void WriteFileAtomically(const std::string& path, const std::string& content);

}  // namespace cli
