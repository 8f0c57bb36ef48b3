// `pelvaro about` and `pelvaro info`: what the plug-in tells the host about
// itself, at load time and when its About item is chosen.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// args are the words after "about" / "info"; exit status as in Commands.h.
int AboutCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int InfoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
