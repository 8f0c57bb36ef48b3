// The whole `pelvaro run` on a generated mosaic (JSON in, JSON out, default
// parameters), then on the same mosaic as an SVG drawing (SVG in, SVG out):
// CPU time and peak memory of the child process, per anchor, against the
// plain loop (snprintf keys, std::unordered_map, std::mt19937, the same
// draws) measured in the same run, and SVG against JSON. Each is measured
// --repeat times (default 5) and given as the median with the range: on a
// shared machine one run alone can be off by a third.
//
//   pelvaro_run_bench [--anchors N] [--repeat N] [--pelvaro PATH] [--mosaic-only FILE]
//
// --mosaic-only writes the mosaic to FILE (SVG when its name ends in .svg,
// else JSON) and stops: an input for profiling or trying the tool on a big
// document.
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// Runs args with stderr into the file errors (shown only when a run fails).
ChildFigures RunChild(const std::vector<std::string>& args, const std::string& errors) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0) dup2(err, STDERR_FILENO);
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

// The plain loop's CPU time on a fresh mosaic, in a child of its own: this
// process holds no document, so the tool's children do not count one in
// their peak, and the loop takes its turn in the rounds with them.
double PlainLoopCpu(std::size_t anchors) {
    int channel[2];
    if (pipe(channel) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        headless::Document document = bench::GridMosaic(anchors);
        const double before = SelfCpu();
        bench::PlainJitter(document, kDefaultJitterParams, 1, &bench::SnprintfPositionText);
        const double cpu = SelfCpu() - before;
        const bool sent = write(channel[1], &cpu, sizeof cpu) == sizeof cpu;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    double cpu = 0;
    if (child < 0 || read(channel[0], &cpu, sizeof cpu) != sizeof cpu) cpu = 0;
    close(channel[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return cpu;
}

// Figures of several runs of one thing.
struct Series {
    std::vector<double> values;

    double Median() const {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        if (n == 0) return 0;
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double Min() const {
        return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
    }
    double Max() const {
        return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
    }
};

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
    int repeat = 5;
    std::string pelvaro = (cli::ExecutableDirectory() / "pelvaro").string();
    std::string mosaicOnly;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--anchors") == 0) {
            anchors = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (std::strcmp(argv[i], "--repeat") == 0) {
            repeat = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--pelvaro") == 0) {
            pelvaro = argv[i + 1];
        } else if (std::strcmp(argv[i], "--mosaic-only") == 0) {
            mosaicOnly = argv[i + 1];
        } else {
            std::fprintf(stderr,
                         "usage: pelvaro_run_bench [--anchors N] [--repeat N] [--pelvaro PATH] "
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
    std::printf("pelvaro run on a generated mosaic of %zu anchors, %d runs each\n", anchors,
                repeat);
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
    // Rounds of every input and the plain loop in turn, so that a slow spell
    // of the machine touches them alike.
    std::vector<Series> cpu(inputs.size()), peak(inputs.size());
    Series plain;
    for (int round = 0; round < repeat; ++round) {
        for (std::size_t k = 0; k < inputs.size(); ++k) {
            const Input& input = inputs[k];
            const std::string output = (folder / ("out-" + input.name)).string();
            const std::string errors = (folder / "stderr.txt").string();
            const ChildFigures run =
                RunChild({pelvaro, "run", input.path, "-o", output, "--seed", "1"}, errors);
            if (run.status != 0) {
                std::fprintf(stderr, "pelvaro run on %s failed with status %d:\n%s",
                             input.name.c_str(), run.status, cli::ReadTextFile(errors).c_str());
                fs::remove_all(folder);
                return 1;
            }
            cpu[k].values.push_back(run.cpu);
            peak[k].values.push_back(static_cast<double>(run.peakKilobytes) * 1024.0);
        }
        plain.values.push_back(PlainLoopCpu(anchors));
    }
    fs::remove_all(folder);
    const headless::Document mosaic = bench::GridMosaic(anchors);

    const auto seconds = [&](const std::string& what, const Series& series) {
        std::printf("  %-44s %9.3f s  %7.0f ns/anchor  (%.3f to %.3f s)\n", what.c_str(),
                    series.Median(), series.Median() / n * 1e9, series.Min(), series.Max());
    };
    const auto bytes = [&](const std::string& what, const Series& series) {
        std::printf("  %-44s %9.1f MB  %7.0f bytes/anchor\n", what.c_str(), series.Median() / 1e6,
                    series.Median() / n);
    };
    seconds("pelvaro run, CPU (user + system)", cpu[0]);
    bytes("pelvaro run, peak resident memory", peak[0]);
    const bool svg = inputs.size() > 1;
    if (svg) {
        seconds("pelvaro run on SVG, CPU (user + system)", cpu[1]);
        bytes("pelvaro run on SVG, peak resident memory", peak[1]);
    }
    seconds("plain loop (snprintf, unordered_map), CPU", plain);
    std::printf("medians\n");
    std::printf("  %-44s %9.2f\n", "pelvaro run / plain loop", cpu[0].Median() / plain.Median());
    if (svg) {
        std::printf("  %-44s %9.2f\n", "SVG run / JSON run, CPU",
                    cpu[1].Median() / cpu[0].Median());
        std::printf("  %-44s %9.2f\n", "SVG run / JSON run, peak memory",
                    peak[1].Median() / peak[0].Median());
    }
    std::printf("  %-44s %9.1f bytes/anchor\n", "document model in memory",
                static_cast<double>(ModelBytes(mosaic)) / n);
    return 0;
}
