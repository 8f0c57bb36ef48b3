// Reading input files and replacing output files all at once.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace cli {

// The bytes of the file; throws InputError naming it when it cannot be read.
std::string ReadTextFile(const std::string& path);

// Replaces (or creates) path with content: written to a temporary file in
// the same directory, then renamed over path, so that path is either left as
// it was or holds all of content. The temporary is removed on failure.
// Throws JobError naming path and the cause.
void WriteFileAtomically(const std::string& path, const std::string& content);
// The same, with the content written piece by piece to the stream by write.
void WriteFileAtomically(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace cli
