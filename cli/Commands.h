// The tool's commands as functions: arguments in, text out, exit status back.
//
// Exit status: 0 done; 1 the job failed with good input (the plug-in
// answered with an error, an output could not be written); 2 bad input
// (options, documents, a plug-in that cannot be loaded).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/FilterRun.h"
#include "headless/Document.h"

namespace cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadInput = 2;

// The demo's seed when none is given, so that the demo repeats.
constexpr uint32_t kDemoSeed = 7;

extern const char* const kUsage;

// args are the words after the program name.
int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// args are the words after "run" / "demo".
// setup is handed to the host before the run (tests set faults with it).
int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const HostSetup& setup = {});
int DemoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// What the demo reports about a run, from the document before and after.
struct RunSummary {
    int paths = 0;
    int selectedPaths = 0;
    int anchors = 0;             // of the selected paths
    int distinctPositions = 0;   // among those anchors, before the run
    int sharedPositions = 0;     // positions held by two anchors or more
    int sharedKept = 0;          // of those, the ones whose anchors still coincide after
    double largestOffset = 0.0;  // longest anchor move of any path
};
RunSummary Summarize(const headless::Document& before, const headless::Document& after);

}  // namespace cli
