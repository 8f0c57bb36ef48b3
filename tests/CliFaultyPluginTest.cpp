// The tool against modules that misbehave or are named loosely: a crash or a
// hang is reported with the message being handled and exit status 1, and a
// bare --plugin name is a file in the current folder, never the loader's.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/ToolProcess.h"

#if defined(PELVARO_TOOL_PROCESS)

namespace {

using testing_support::TempDir;

namespace fs = std::filesystem;

const std::string kMosaic = std::string(PELVARO_FIXTURES) + "/small-mosaic.json";

// How each system names the two crashes.
#if defined(_WIN32)
constexpr const char* kBadAccess = "EXCEPTION_ACCESS_VIOLATION";
// A library the loader would find on its own search path.
constexpr const char* kSystemLibrary = "kernel32.dll";
#else
constexpr const char* kBadAccess = "SIGSEGV";
constexpr const char* kSystemLibrary = "libm.so.6";
#endif

std::string Faulty(const std::string& name) {
    return std::string(PELVARO_FAULTY_MODULES) + "/" + name + ".aip";
}

TEST(CliFaultyPlugin, ACrashOrAHangIsReportedWithTheMessage) {
    TempDir dir;
    const std::string out = dir / "out.json";
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const Case cases[] = {
        {{"info", "--plugin", Faulty("CrashesAtStartup")},
         std::string("pelvaro info: the plug-in crashed (") + kBadAccess +
             ") while handling \"SP Interface\"/\"Startup\"\n"},
        {{"run", kMosaic, "-o", out, "--seed", "1", "--plugin", Faulty("CrashesAtStartup")},
         std::string("pelvaro run: the plug-in crashed (") + kBadAccess +
             ") while handling \"SP Interface\"/\"Startup\"\n"},
        {{"run", kMosaic, "-o", out, "--seed", "1", "--plugin", Faulty("AbortsAtShutdown")},
         "pelvaro run: the plug-in crashed (SIGABRT) while handling "
         "\"SP Interface\"/\"Shutdown\"\n"},
        {{"about", "--timeout", "1", "--plugin", Faulty("HangsAtStartup")},
         "pelvaro about: the plug-in did not return within 1 s and was ended while handling "
         "\"SP Interface\"/\"Startup\"\n"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const ToolResult result = RunToolProcess(c.args, dir.path().string());
        EXPECT_TRUE(result.exited) << c.err << "ended by signal " << result.status;
        EXPECT_EQ(result.status, 1) << c.err;
        EXPECT_EQ(result.err, c.err);
        EXPECT_FALSE(fs::exists(out)) << c.err;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << c.err;
    }
}

TEST(CliFaultyPlugin, ABarePluginNameIsAFileInTheCurrentFolder) {
    TempDir dir;
    fs::copy_file(PELVARO_MODULE_PATH, dir / "Local.aip");
    fs::copy_file(PELVARO_RES_FILE, dir / "Local.res");

    const ToolResult local = RunToolProcess({"info", "--plugin", "Local.aip"}, dir.path().string());
    EXPECT_EQ(local.status, 0) << local.err;
    EXPECT_NE(local.out.find("filter Pelvaro:"), std::string::npos) << local.out;

    // A library the loader would find on its own search path is not taken.
    const ToolResult system =
        RunToolProcess({"info", "--plugin", kSystemLibrary}, dir.path().string());
    EXPECT_EQ(system.status, 2);
    EXPECT_NE(system.err.find("cannot load the plug-in module '" + (dir / kSystemLibrary) + "'"),
              std::string::npos)
        << system.err;
}

}  // namespace

#endif
