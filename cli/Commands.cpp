#include "cli/Commands.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <utility>

#include "cli/DocumentJson.h"
#include "cli/FileIO.h"
#include "cli/FilterRun.h"
#include "cli/FloatText.h"
#include "cli/Guarded.h"
#include "cli/InputError.h"
#include "cli/Mosaic.h"
#include "cli/Options.h"
#include "cli/PluginCommands.h"
#include "cli/SvgWriter.h"

namespace cli {

const char* const kUsage =
    "usage: pelvaro <command> [options]\n"
    "\n"
    "Moves every anchor point of the selected paths of a document by a random offset,\n"
    "the same for every anchor at the same position, so that adjoining tiles stay joined,\n"
    "and optionally gives each filled path a random gray. The filter runs as the plug-in\n"
    "module Pelvaro.aip, driven by a headless host.\n"
    "\n"
    "commands:\n"
    "  run IN -o OUT   run the filter on the document IN (JSON), write OUT (JSON or .svg)\n"
    "  demo [-o DIR]   run the filter on a built-in mosaic, write pictures and documents\n"
    "  about           show the plug-in's About box\n"
    "  info            show what the plug-in declares and registers\n"
    "\n"
    "'pelvaro <command> --help' tells more about each.\n"
    "exit status: 0 done, 1 the plug-in or the output failed, 2 bad input or options\n";

namespace {

bool EndsWithSvg(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".svg";
}

uint32_t PickSeed() {
    std::random_device device;
    return static_cast<uint32_t>(device());
}

std::string Fixed(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

void WarnIfHeld(const char* command, const std::string& held, std::ostream& err) {
    if (!held.empty()) {
        err << "pelvaro " << command << ": warning: the plug-in left held: " << held << "\n";
    }
}

}  // namespace

RunSummary Summarize(const headless::Document& before, const headless::Document& after) {
    RunSummary summary;
    // Anchors of the selected paths by position before the run, and where each went.
    std::map<std::pair<float, float>, std::vector<RealPoint>> moved;
    const std::size_t count = std::min(before.art.size(), after.art.size());
    for (std::size_t a = 0; a < count; ++a) {
        const headless::Art& was = before.art[a];
        const headless::Art& is = after.art[a];
        if (was.type != kPathArt) continue;
        ++summary.paths;
        if (was.selected) ++summary.selectedPaths;
        const std::size_t segments = std::min(was.segments.size(), is.segments.size());
        for (std::size_t s = 0; s < segments; ++s) {
            const RealPoint p = was.segments[s].p;
            const RealPoint q = is.segments[s].p;
            const double offset =
                std::hypot(static_cast<double>(q.h) - p.h, static_cast<double>(q.v) - p.v);
            summary.largestOffset = std::max(summary.largestOffset, offset);
            if (!was.selected) continue;
            ++summary.anchors;
            moved[{p.h, p.v}].push_back(q);
        }
    }
    summary.distinctPositions = static_cast<int>(moved.size());
    for (const auto& [position, places] : moved) {
        if (places.size() < 2) continue;
        ++summary.sharedPositions;
        bool together = true;
        for (const RealPoint& place : places) {
            together = together && place.h == places[0].h && place.v == places[0].v;
        }
        if (together) ++summary.sharedKept;
    }
    return summary;
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const HostSetup& setup) {
    return Guarded("run", err, [&] {
        const RunOptions options = ParseRunOptions(args);
        if (options.help) {
            out << UsageOf("run");
            return kExitOk;
        }
        DocumentFile file = ReadDocumentJson(ReadTextFile(options.input), options.input);
        const LoadedPlugin plugin("run", options.filter);
        const uint32_t seed = options.filter.seed ? *options.filter.seed : PickSeed();
        if (!options.filter.seed) err << "seed: " << seed << "\n";
        const std::string held = RunFilter(file.document, plugin.entry(), options.filter.params,
                                           seed, setup, plugin.resources());
        WarnIfHeld("run", held, err);
        WriteFileAtomically(options.output, EndsWithSvg(options.output) ? WriteSvg(file.document)
                                                                        : WriteDocumentJson(file));
        return kExitOk;
    });
}

int DemoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return Guarded("demo", err, [&] {
        const DemoOptions options = ParseDemoOptions(args);
        if (options.help) {
            out << UsageOf("demo");
            return kExitOk;
        }
        const headless::Document before = BuiltInMosaic();
        headless::Document after = before;
        const LoadedPlugin plugin("demo", options.filter);
        const uint32_t seed = options.filter.seed.value_or(kDemoSeed);
        const JitterParams& params = options.filter.params;
        WarnIfHeld("demo", RunFilter(after, plugin.entry(), params, seed, {}, plugin.resources()),
                   err);

        namespace fs = std::filesystem;
        const fs::path directory(options.directory);
        std::error_code error;
        fs::create_directories(directory, error);
        if (error) {
            throw JobError("cannot make the directory '" + options.directory +
                           "': " + error.message());
        }
        const std::pair<const char*, std::string> files[] = {
            {"before.svg", WriteSvg(before)},
            {"after.svg", WriteSvg(after)},
            {"before.json", WriteDocumentJson(before)},
            {"after.json", WriteDocumentJson(after)}};
        std::string written;
        for (const auto& [name, content] : files) {
            const std::string path = (directory / name).string();
            WriteFileAtomically(path, content);
            written += (written.empty() ? "" : ", ") + path;
        }

        const RunSummary summary = Summarize(before, after);
        out << "pelvaro demo: the filter on the built-in mosaic, seed " << seed << "\n"
            << "  range " << FloatText(params.moveRange) << ", gray " << FloatText(params.grayMin)
            << " to " << FloatText(params.grayMax) << " %, fill "
            << (params.randomFill ? "on" : "off") << "\n"
            << "  paths:              " << summary.paths << " (" << summary.selectedPaths
            << " selected)\n"
            << "  anchors:            " << summary.anchors << " (of the selected paths)\n"
            << "  distinct positions: " << summary.distinctPositions << "\n"
            << "  shared positions:   " << summary.sharedPositions
            << ", still shared after: " << summary.sharedKept << "\n"
            << "  largest offset:     " << Fixed(summary.largestOffset, 3)
            << " (at most half the range, " << FloatText(params.moveRange / 2.0f) << ")\n"
            << "  wrote " << written << "\n";
        return kExitOk;
    });
}

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return kExitBadInput;
    }
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "--help" || command == "-h" || command == "help") {
        out << kUsage;
        return kExitOk;
    }
    if (command == "run") return RunCommand(rest, out, err);
    if (command == "demo") return DemoCommand(rest, out, err);
    if (command == "about") return AboutCommand(rest, out, err);
    if (command == "info") return InfoCommand(rest, out, err);
    if (!command.empty() && command.front() == '-') {
        err << "pelvaro: unknown option '" << command << "'; see 'pelvaro --help'\n";
    } else {
        err << "pelvaro: unknown command '" << command << "'; see 'pelvaro --help'\n";
    }
    return kExitBadInput;
}

}  // namespace cli
