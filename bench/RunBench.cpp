// The whole `pelvaro run` on a generated mosaic (JSON in, JSON out, default
// parameters): CPU time and peak memory of the child process, per anchor,
// against the plain loop (snprintf keys, std::unordered_map, std::mt19937,
// the same draws) measured in the same run.
//
//   pelvaro_run_bench [--anchors N] [--pelvaro PATH] [--mosaic-only FILE]
//
// --mosaic-only writes the mosaic to FILE and stops: an input for profiling
// or trying the tool on a big document.
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
#include "bench/PlainLoop.h"
#include "cli/DocumentJson.h"
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
        cli::WriteFileAtomically(mosaicOnly, cli::WriteDocumentJson(bench::GridMosaic(anchors)));
        return 0;
    }
    const fs::path folder =
        fs::temp_directory_path() / ("pelvaro-run-bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string input = (folder / "mosaic.json").string();
    const std::string output = (folder / "out.json").string();
    std::printf("pelvaro run on a generated mosaic of %zu anchors\n", anchors);
    const headless::Document mosaic = bench::GridMosaic(anchors);
    const std::string text = cli::WriteDocumentJson(mosaic);
    cli::WriteFileAtomically(input, text);
    const double megabytes = static_cast<double>(text.size()) / 1e6;
    std::printf("  input: %s, %.1f MB\n", input.c_str(), megabytes);

    const ChildFigures run = RunChild({pelvaro, "run", input, "-o", output, "--seed", "1"});
    if (run.status != 0) {
        std::fprintf(stderr, "pelvaro run failed with status %d\n", run.status);
        fs::remove_all(folder);
        return 1;
    }
    const double peakBytes = static_cast<double>(run.peakKilobytes) * 1024.0;
    const double n = static_cast<double>(anchors);

    headless::Document document = mosaic;
    const double before = SelfCpu();
    bench::PlainJitter(document, kDefaultJitterParams, 1, &bench::SnprintfPositionText);
    const double plain = SelfCpu() - before;

    std::printf("  %-44s %9.3f s  %7.0f ns/anchor\n", "pelvaro run, CPU (user + system)", run.cpu,
                run.cpu / n * 1e9);
    std::printf("  %-44s %9.1f MB  %7.0f bytes/anchor\n", "pelvaro run, peak resident memory",
                peakBytes / 1e6, peakBytes / n);
    std::printf("  %-44s %9.3f s  %7.0f ns/anchor\n", "plain loop (snprintf, unordered_map), CPU",
                plain, plain / n * 1e9);
    std::printf("  %-44s %9.2f\n", "pelvaro run / plain loop", run.cpu / plain);
    std::printf("  %-44s %9.1f bytes/anchor\n", "document model in memory",
                static_cast<double>(ModelBytes(mosaic)) / n);
    fs::remove_all(folder);
    return 0;
}
