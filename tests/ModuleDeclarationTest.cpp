// The host runs only a module that declares itself: a module without a
// declaration of its own is refused before any of its code runs, and the
// refusal names the module and what is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/Commands.h"
#include "headless/Host.h"
#include "headless/PluginModule.h"
#include "headless/PluginResources.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#if !defined(PELVARO_IN_PROCESS)  // only module files have resources of their own

namespace {

using testing_support::Outcome;
using testing_support::RunCli;

const std::string kModule = PELVARO_NO_DECLARATION_MODULE;  // PluginMain returns 0, no .res

// What every refusal says: which module (as it was loaded), and that its
// declaration is missing.
void ExpectNamesModuleAndDeclaration(const std::string& text, const std::string& module = kModule) {
    EXPECT_NE(text.find(module), std::string::npos) << text;
    EXPECT_NE(text.find("PiPL resource 16000"), std::string::npos) << text;
}

TEST(ModuleDeclaration, AModuleWithoutOneIsRefusedAndSentNoMessage) {
    headless::Document document;
    headless::Host host(document, 1);
    try {
        host.LoadPlugin(headless::ResourcesForModule(kModule));
        ADD_FAILURE() << "a module without a declaration was accepted";
    } catch (const headless::PluginRefused& refused) {
        ExpectNamesModuleAndDeclaration(refused.what());
    }
    const headless::PluginModule module(kModule);
    EXPECT_ANY_THROW(host.Startup(module.entry()));
    EXPECT_TRUE(host.Calls().empty());
    EXPECT_TRUE(host.MenuItems().empty());
}

TEST(ModuleDeclaration, TheToolRefusesAModuleWithoutOneInEveryCommand) {
    const testing_support::TempDir dir;
    for (const char* command : {"info", "about", "run"}) {
        testing_support::Args args{command};
        if (std::string(command) == "run")
            args.insert(args.end(), {std::string(PELVARO_FIXTURES) + "/small-mosaic.json", "-o",
                                     dir / "never-written.json"});
        const Outcome outcome = RunCli(testing_support::With(args, {"--plugin", kModule}));
        EXPECT_EQ(outcome.status, cli::kExitBadInput) << command << ": " << outcome.err;
        EXPECT_EQ(outcome.out, "") << command;
        // The tool makes --plugin absolute (in Windows form on Windows) before loading it.
        ExpectNamesModuleAndDeclaration(outcome.err, std::filesystem::absolute(kModule).string());
    }
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace

#endif
