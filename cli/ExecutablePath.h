// Where the running executable lives, to find the plug-in module beside it.
#pragma once

#include <filesystem>

namespace cli {

// The directory of the running executable, from the system (/proc/self/exe
// on Linux, GetModuleFileNameW on Windows). Empty when the system cannot say.
std::filesystem::path ExecutableDirectory();

}  // namespace cli
