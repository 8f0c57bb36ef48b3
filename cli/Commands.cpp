#include "cli/Commands.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <utility>

#include "cli/DemoDrawing.h"
#include "cli/DocumentJson.h"
#include "cli/Documents.h"
#include "cli/FileIO.h"
#include "cli/FilterRun.h"
#include "cli/FloatText.h"
#include "cli/Guarded.h"
#include "cli/InputError.h"
#include "cli/Joints.h"
#include "cli/MappedFile.h"
#include "cli/Mosaic.h"
#include "cli/Options.h"
#include "cli/PluginCommands.h"
#include "cli/Progress.h"
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
    "  run IN -o OUT   run the filter on the document IN (SVG or JSON), write OUT\n"
    "  demo [-o DIR]   run the filter on a built-in mosaic, write pictures and documents\n"
    "  about           show the plug-in's About box\n"
    "  info            show what the plug-in declares and registers\n"
    "\n"
    "'pelvaro <command> --help' tells more about each.\n"
    "exit status: 0 done, 1 the plug-in or the output failed, 2 bad input or options\n";

namespace {

uint32_t PickSeed() {
    std::random_device device;
    return static_cast<uint32_t>(device());
}

std::string Fixed(double value, int digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", digits, value);
    return text;
}

std::string ReadStandardInput() {
    std::ostringstream content;
    content << std::cin.rdbuf();
    if (std::cin.bad()) throw InputError("cannot read the document from standard input");
    return std::move(content).str();
}

// The joints of the document before the run, welded when asked.
struct JointRun {
    std::vector<Joint> joints;
    std::size_t welded = 0;  // anchors the weld moved
};

JointRun BeforeRun(headless::Document& document, const FilterOptions& filter) {
    JointRun run;
    run.joints = FindJoints(document, filter.jointTolerance);
    if (filter.weld) run.welded = Weld(document, run.joints);
    return run;
}

std::string JointReport(const JointRun& run, const headless::Document& after,
                        const FilterOptions& filter) {
    const std::string tolerance = FloatText(static_cast<float>(filter.jointTolerance));
    const std::size_t split = CountSplit(after, run.joints, filter.jointTolerance);
    std::string text = "joints: " + std::to_string(run.joints.size()) +
                       " between selected paths (anchors within " + tolerance + ")";
    if (filter.weld) text += ", " + std::to_string(run.welded) + " anchors welded";
    if (split == 0) return text + "; the run kept every one";
    text += "; the run split " + std::to_string(split);
    if (!filter.weld) text += " (--weld " + tolerance + " keeps them joined)";
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
        const bool fromStdin = options.input == "-";
        // Wiped before anything else goes to err, and by unwinding before an error.
        Progress progress("run", ProgressStream(err));
        progress.Phase("reading " + (fromStdin ? std::string("standard input") : options.input));
        // A file is mapped, not copied, and only while it is read (neither
        // reader keeps anything of it), so the run does not hold it.
        std::optional<MappedFile> mapped;
        std::string piped;
        if (fromStdin) {
            piped = ReadStandardInput();
        } else {
            mapped.emplace(options.input);
        }
        const std::string_view text = fromStdin ? std::string_view(piped) : mapped->text();
        const std::string inputName = fromStdin ? "<stdin>" : options.input;
        const DocumentFormat inFormat =
            FormatOf(fromStdin ? "" : options.input, options.format, SniffFormat(text));
        const DocumentFormat outFormat =
            FormatOf(options.output == "-" ? "" : options.output, options.format, inFormat);
        LoadedDocument loaded = LoadedDocument::Read(text, inputName, inFormat, options.ids);
        // An SVG's markup is freed while the filter runs and read again to be
        // written, from a regular file or the text piped in (a FIFO cannot be
        // read twice).
        if (fromStdin || std::filesystem::is_regular_file(options.input)) loaded.SetMarkupAside();
        mapped.reset();
        progress.Clear();
        for (const std::string& warning : loaded.warnings())
            err << "pelvaro run: " << warning << "\n";

        const LoadedPlugin plugin("run", options.filter);
        const uint32_t seed = options.filter.seed ? *options.filter.seed : PickSeed();
        if (!options.filter.seed) err << "seed: " << seed << "\n";
        headless::Document& document = loaded.document();
        progress.Phase("finding joints");
        JointRun joints = BeforeRun(document, options.filter);
        progress.Phase("filtering");
        const HostSetup watched = [&](headless::Host& host) {
            if (setup) setup(host);
            host.OnArtReached(
                [&progress](std::size_t n, std::size_t total) { progress.Fraction(n, total); });
        };
        // The trace is a log, not a document: written as it comes, kept when
        // the run fails, which is when it helps most.
        std::ofstream trace;
        if (options.trace) {
            trace.open(*options.trace, std::ios::binary | std::ios::trunc);
            if (!trace) throw JobError("cannot write the trace '" + *options.trace + "'");
        }
        const std::string held =
            RunFilter(document, plugin.entry(), options.filter.params, seed, watched,
                      plugin.resources(), options.trace ? &trace : nullptr);
        if (options.trace && !trace.flush()) {
            throw JobError("cannot write the trace '" + *options.trace + "'");
        }
        progress.Clear();
        WarnIfHeld("run", held, err);
        err << "pelvaro run: " << JointReport(joints, document, options.filter) << "\n";
        joints = {};  // reported: its memory is the writer's now
        progress.Phase("writing " +
                       (options.output == "-" ? std::string("standard output") : options.output));
        if (loaded.markupSetAside() && outFormat == DocumentFormat::kSvg) {
            loaded.RestoreMarkup(fromStdin ? std::move(piped) : ReadTextFile(options.input));
        }
        if (options.output == "-") {
            loaded.Write(outFormat, out);
            out.flush();
            if (!out) throw JobError("cannot write the document to standard output");
        } else {
            WriteFileAtomically(options.output,
                                [&](std::ostream& stream) { loaded.Write(outFormat, stream); });
        }
        progress.Finish();
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
        std::vector<std::pair<std::string, std::string>> files = {
            {"before.svg", WriteSvg(before)},
            {"after.svg", WriteSvg(after)},
            {"before.json", WriteDocumentJson(before)},
            {"after.json", WriteDocumentJson(after)}};
        // The drawing: an SVG as a drawing program saves it, run as it is and
        // with the weld, to show the joints that float noise splits.
        std::string drawingReport;
        if (SvgDocumentsAvailable()) {
            const std::string drawing = DemoDrawing();
            files.emplace_back("drawing.svg", drawing);
            for (const bool weld : {false, true}) {
                LoadedDocument loaded =
                    LoadedDocument::Read(drawing, "drawing.svg", DocumentFormat::kSvg, {});
                FilterOptions filter = options.filter;
                filter.weld = weld;
                const JointRun joints = BeforeRun(loaded.document(), filter);
                WarnIfHeld("demo",
                           RunFilter(loaded.document(), plugin.entry(), params, seed, {},
                                     plugin.resources()),
                           err);
                drawingReport += std::string("  drawing.svg") +
                                 (weld ? " welded:  " : ":         ") +
                                 JointReport(joints, loaded.document(), filter) + "\n";
                files.emplace_back(weld ? "drawing-welded.svg" : "drawing-after.svg",
                                   loaded.Write(DocumentFormat::kSvg));
            }
        }
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
            << drawingReport << "  wrote " << written << "\n";
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
