#include "support/CliRunner.h"

#include <sstream>

#include "cli/Commands.h"
#include "support/PluginUnderTest.h"

namespace testing_support {

Outcome RunCli(const Args& args, const cli::HostSetup& setup) {
    std::ostringstream out, err;
    const int status = !args.empty() && args[0] == "run"
                           ? cli::RunCommand({args.begin() + 1, args.end()}, out, err, setup)
                           : cli::Main(args, out, err);
    return {status, out.str(), err.str()};
}

Args With(Args args, const Args& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

Args PluginArgs() {
#if defined(PELVARO_IN_PROCESS)
    return {};
#else
    return {"--plugin", PluginModulePath()};
#endif
}

}  // namespace testing_support
