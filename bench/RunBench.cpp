// The whole `pelvaro run` on a generated mosaic (JSON in, JSON out, default
// parameters), then on the same mosaic as an SVG drawing (SVG in, SVG out):
// CPU time and peak memory of the child process, per anchor, against the
// plain loop (snprintf keys, std::unordered_map, std::mt19937, the same
// draws) measured in the same run, and SVG against JSON.
//
//   pelvaro_run_bench [--anchors N] [--pelvaro PATH] [--mosaic-only FILE]
//
// --mosaic-only writes the mosaic to FILE (SVG when its name ends in .svg,
// else JSON) and stops: an input for profiling or trying the tool on a big
// document.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/GridMosaic.h"
#include "bench/GridMosaicSvg.h"
#include "bench/PlainLoop.h"
#include "cli/DocumentJson.h"
#include "cli/Documents.h"
#include "cli/ExecutablePath.h"
#include "cli/FileIO.h"

namespace {

namespace fs = std::filesystem;

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

double SelfCpu() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

struct ChildFigures {
    double cpu = 0;          // user + system seconds
    long peakKilobytes = 0;  // largest resident set
    int status = -1;
};

ChildFigures RunChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[0], argv.data());
        std::perror("exec");
        _exit(127);
    }
    ChildFigures figures;
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return figures;
    figures.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    figures.peakKilobytes = usage.ru_maxrss;
    figures.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return figures;
}

// Bytes the document model holds, counted from its containers.
std::size_t ModelBytes(const headless::Document& document) {
    std::size_t bytes = document.art.capacity() * sizeof(headless::Art);
    for (const headless::Art& art : document.art) {
        bytes += art.segments.capacity() * sizeof(PathSegment);
        if (art.passthrough.capacity() > 15) bytes += art.passthrough.capacity() + 1;
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t anchors = 1000000;
    std::string pelvaro = (cli::ExecutableDirectory() / "pelvaro").string();
    std::string mosaicOnly;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--anchors") == 0) {
            anchors = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--pelvaro") == 0) {
            pelvaro = argv[i + 1];
        } else if (std::strcmp(argv[i], "--mosaic-only") == 0) {
            mosaicOnly = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: pelvaro_run_bench [--anchors N] [--pelvaro PATH] "
                         "[--mosaic-only FILE]\n");
            return 2;
        }
    }

    if (!mosaicOnly.empty()) {
        const headless::Document mosaic = bench::GridMosaic(anchors);
        const bool svg = cli::FormatOf(mosaicOnly, std::nullopt, cli::DocumentFormat::kJson) ==
                         cli::DocumentFormat::kSvg;
        cli::WriteFileAtomically(
            mosaicOnly, svg ? bench::GridMosaicSvg(mosaic) : cli::WriteDocumentJson(mosaic));
        return 0;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("pelvaro-run-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::printf("pelvaro run on a generated mosaic of %zu anchors\n", anchors);
    const double n = static_cast<double>(anchors);

    // The inputs are written before any run, and nothing big is held when a
    // child is forked: until it execs, a child shares its parent's pages,
    // and its peak (ru_maxrss) counts them.
    struct Input {
        std::string name, path;
    };
    std::vector<Input> inputs;
    {
        const headless::Document mosaic = bench::GridMosaic(anchors);
        const auto write = [&](const char* name, const std::string& text) {
            inputs.push_back({name, (folder / name).string()});
            cli::WriteFileAtomically(inputs.back().path, text);
            std::printf("  input: %s, %.1f MB\n", inputs.back().path.c_str(),
                        static_cast<double>(text.size()) / 1e6);
        };
        write("mosaic.json", cli::WriteDocumentJson(mosaic));
        if (cli::SvgDocumentsAvailable()) write("mosaic.svg", bench::GridMosaicSvg(mosaic));
    }
    malloc_trim(0);
    std::fflush(stdout);
    std::vector<ChildFigures> runs;
    for (const Input& input : inputs) {
        const std::string output = (folder / ("out-" + input.name)).string();
        runs.push_back(RunChild({pelvaro, "run", input.path, "-o", output, "--seed", "1"}));
        if (runs.back().status != 0) {
            std::fprintf(stderr, "pelvaro run on %s failed with status %d\n", input.name.c_str(),
                         runs.back().status);
            fs::remove_all(folder);
            return 1;
        }
    }
    fs::remove_all(folder);
    const ChildFigures json = runs[0];
    const ChildFigures svg = runs.size() > 1 ? runs[1] : ChildFigures{};

    const headless::Document mosaic = bench::GridMosaic(anchors);
    headless::Document document = mosaic;
    const double before = SelfCpu();
    bench::PlainJitter(document, kDefaultJitterParams, 1, &bench::SnprintfPositionText);
    const double plain = SelfCpu() - before;

    const auto print = [&](const char* what, const ChildFigures& run) {
        const double peakBytes = static_cast<double>(run.peakKilobytes) * 1024.0;
        std::printf("  %-44s %9.3f s  %7.0f ns/anchor\n",
                    (std::string(what) + ", CPU (user + system)").c_str(), run.cpu,
                    run.cpu / n * 1e9);
        std::printf("  %-44s %9.1f MB  %7.0f bytes/anchor\n",
                    (std::string(what) + ", peak resident memory").c_str(), peakBytes / 1e6,
                    peakBytes / n);
    };
    print("pelvaro run", json);
    if (cli::SvgDocumentsAvailable()) print("pelvaro run on SVG", svg);
    std::printf("  %-44s %9.3f s  %7.0f ns/anchor\n", "plain loop (snprintf, unordered_map), CPU",
                plain, plain / n * 1e9);
    std::printf("  %-44s %9.2f\n", "pelvaro run / plain loop", json.cpu / plain);
    if (cli::SvgDocumentsAvailable()) {
        std::printf("  %-44s %9.2f\n", "SVG run / JSON run, CPU", svg.cpu / json.cpu);
        std::printf(
            "  %-44s %9.2f\n", "SVG run / JSON run, peak memory",
            static_cast<double>(svg.peakKilobytes) / static_cast<double>(json.peakKilobytes));
    }
    std::printf("  %-44s %9.1f bytes/anchor\n", "document model in memory",
                static_cast<double>(ModelBytes(mosaic)) / n);
    return 0;
}
