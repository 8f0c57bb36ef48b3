// Figures for the filter's hot paths, from one run, with the ratios that
// matter printed after Google Benchmark's own table: the position-text
// formatter against snprintf, "AI Go" through the headless host against the
// same work in a plain loop, and documents read and written.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "bench/GridMosaic.h"
#include "bench/GridMosaicSvg.h"
#include "bench/PlainLoop.h"
#include "cli/DocumentJson.h"
#include "cli/FilterRun.h"
#include "cli/Options.h"
#if defined(PELVARO_SVG_DOCUMENTS)
#include "cli/svg/SvgDocument.h"
#endif
#include "headless/Host.h"
#include "jitter/PositionText.h"

namespace {

constexpr int64_t kSizes[] = {1000, 10000, 100000, 1000000};

// Positions of a mosaic's anchors, as the formatter sees them.
std::vector<RealPoint> Positions(std::size_t count) {
    std::vector<RealPoint> points;
    for (const headless::Art& art : bench::GridMosaic(count).art)
        for (const PathSegment& segment : art.segments) points.push_back(segment.p);
    return points;
}

template <bench::PositionFormatter Format>
void PositionText(benchmark::State& state) {
    const std::vector<RealPoint> points = Positions(4096);
    char text[kPositionTextSize];
    for (auto _ : state) {
        for (const RealPoint& point : points) {
            benchmark::DoNotOptimize(Format(point.h, point.v, text, sizeof text));
            benchmark::ClobberMemory();
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(PositionText<FormatPositionText>)->Name("PositionText/own");
BENCHMARK(PositionText<bench::SnprintfPositionText>)->Name("PositionText/snprintf");

// Anchors per second; the ratios below turn it into time per anchor.
void PerAnchor(benchmark::State& state, int64_t anchors) {
    state.SetItemsProcessed(state.iterations() * anchors);
}

const cli::LoadedPlugin& Plugin() {
    static const cli::LoadedPlugin plugin("bench",
                                          cli::PluginOptions{});  // the module beside this program
    return plugin;
}

// "AI Go" alone: start-up and parameters happen with the clock paused.
void AiGo(benchmark::State& state) {
    const headless::Document mosaic = bench::GridMosaic(static_cast<std::size_t>(state.range(0)));
    const PluginMainProc entry = Plugin().entry();
    for (auto _ : state) {
        state.PauseTiming();
        headless::Document document = mosaic;
        {
            headless::Host host(document, 1);
            host.LoadPlugin(Plugin().resources());
            host.Startup(entry);
            host.SetParameterBytes(std::as_bytes(std::span(&kDefaultJitterParams, 1)));
            state.ResumeTiming();
            if (host.FilterGo(entry) != kNoErr) state.SkipWithError("AI Go failed");
            state.PauseTiming();
            host.Shutdown(entry);
        }
        state.ResumeTiming();
    }
    PerAnchor(state, state.range(0));
}
BENCHMARK(AiGo)
    ->Name("AiGo/host")
    ->ArgsProduct({{kSizes[0], kSizes[1], kSizes[2], kSizes[3]}})
    ->Unit(benchmark::kMillisecond);

template <bench::PositionFormatter Format>
void PlainLoop(benchmark::State& state) {
    const headless::Document mosaic = bench::GridMosaic(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        headless::Document document = mosaic;
        state.ResumeTiming();
        bench::PlainJitter(document, kDefaultJitterParams, 1, Format);
        benchmark::DoNotOptimize(document.art.data());
    }
    PerAnchor(state, state.range(0));
}
BENCHMARK(PlainLoop<FormatPositionText>)
    ->Name("AiGo/plain-own")
    ->ArgsProduct({{kSizes[0], kSizes[1], kSizes[2], kSizes[3]}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlainLoop<bench::SnprintfPositionText>)
    ->Name("AiGo/plain-snprintf")
    ->ArgsProduct({{kSizes[0], kSizes[1], kSizes[2], kSizes[3]}})
    ->Unit(benchmark::kMillisecond);

// Documents in and out: each format a row of the same shape, on the same
// mosaic (the SVG one as an editor saves it).
struct Json {
    static std::string Text(const headless::Document& mosaic) {
        return cli::WriteDocumentJson(mosaic);
    }
    static cli::DocumentFile Read(const std::string& text) {
        return cli::ReadDocumentJson(text, "mosaic.json");
    }
    static std::string Write(const cli::DocumentFile& file) { return cli::WriteDocumentJson(file); }
};

#if defined(PELVARO_SVG_DOCUMENTS)
struct Svg {
    static std::string Text(const headless::Document& mosaic) {
        return bench::GridMosaicSvg(mosaic);
    }
    static cli::SvgDocumentFile Read(const std::string& text) {
        return cli::ReadDocumentSvg(text, "mosaic.svg");
    }
    static std::string Write(const cli::SvgDocumentFile& file) {
        return cli::WriteDocumentSvg(file);
    }
};
#endif

template <class Format>
std::string MosaicText(int64_t anchors) {
    return Format::Text(bench::GridMosaic(static_cast<std::size_t>(anchors)));
}

template <class Format>
void ReadDocument(benchmark::State& state) {
    const std::string text = MosaicText<Format>(state.range(0));
    for (auto _ : state) {
        const auto file = Format::Read(text);
        benchmark::DoNotOptimize(file.document.art.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    PerAnchor(state, state.range(0));
}

// Every anchor moved, as after a run, so that every path gets new data.
template <class Format>
void WriteDocument(benchmark::State& state) {
    auto file = Format::Read(MosaicText<Format>(state.range(0)));
    for (headless::Art& art : file.document.art) {
        for (PathSegment& segment : art.segments) {
            for (RealPoint* point : {&segment.in, &segment.p, &segment.out}) {
                point->h += 0.5f;
                point->v -= 0.25f;
            }
        }
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = Format::Write(file);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
    PerAnchor(state, state.range(0));
}

BENCHMARK(ReadDocument<Json>)
    ->Name("Document/read-json")
    ->Arg(kSizes[2])
    ->Arg(kSizes[3])
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WriteDocument<Json>)
    ->Name("Document/write-json")
    ->Arg(kSizes[2])
    ->Arg(kSizes[3])
    ->Unit(benchmark::kMillisecond);
#if defined(PELVARO_SVG_DOCUMENTS)
BENCHMARK(ReadDocument<Svg>)
    ->Name("Document/read-svg")
    ->Arg(kSizes[2])
    ->Arg(kSizes[3])
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WriteDocument<Svg>)
    ->Name("Document/write-svg")
    ->Arg(kSizes[2])
    ->Arg(kSizes[3])
    ->Unit(benchmark::kMillisecond);
#endif

// Keeps each run's CPU time by name, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        // With repetitions the median stands for the benchmark; without, its one run.
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations <= 0) continue;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) continue;
            cpu_[median ? run.run_name.str() : run.benchmark_name()] =
                run.GetAdjustedCPUTime() * Seconds(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\nratios (CPU time)\n");
        Ratio("position text: snprintf / own formatter", "PositionText/snprintf",
              "PositionText/own");
        for (const int64_t n : kSizes) {
            const std::string size = "/" + std::to_string(n);
            Ratio(("AI Go through the host / plain loop, own formatter, " + std::to_string(n) +
                   " anchors")
                      .c_str(),
                  "AiGo/host" + size, "AiGo/plain-own" + size);
        }
        for (const int64_t n : {kSizes[2], kSizes[3]}) {
            const std::string size = "/" + std::to_string(n);
            Ratio(("reading SVG / JSON, " + std::to_string(n) + " anchors").c_str(),
                  "Document/read-svg" + size, "Document/read-json" + size);
            Ratio(("writing SVG / JSON, " + std::to_string(n) + " anchors").c_str(),
                  "Document/write-svg" + size, "Document/write-json" + size);
        }
        const auto perAnchor = [this](const std::string& name, int64_t n) {
            const auto it = cpu_.find(name + "/" + std::to_string(n));
            return it == cpu_.end() ? 0.0 : it->second / static_cast<double>(n) * 1e9;
        };
        for (const char* name : {"AiGo/host", "AiGo/plain-own", "AiGo/plain-snprintf"}) {
            if (perAnchor(name, kSizes[0]) <= 0) continue;  // not run (--benchmark_filter)
            std::printf("  %-22s ns/anchor at 10^3..10^6:", name);
            for (const int64_t n : kSizes) std::printf(" %7.1f", perAnchor(name, n));
            if (perAnchor(name, kSizes[1]) > 0) {
                std::printf("   10^6 / 10^4: %.2f",
                            perAnchor(name, kSizes[3]) / perAnchor(name, kSizes[1]));
            }
            std::printf("\n");
        }
    }

private:
    static double Seconds(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-9;
            case benchmark::kMicrosecond:
                return 1e-6;
            case benchmark::kMillisecond:
                return 1e-3;
            case benchmark::kSecond:
                return 1.0;
        }
        return 1.0;
    }

    void Ratio(const char* label, const std::string& over, const std::string& under) const {
        const auto a = cpu_.find(over);
        const auto b = cpu_.find(under);
        if (a == cpu_.end() || b == cpu_.end() || b->second <= 0) return;
        std::printf("  %-72s %6.2f\n", label, a->second / b->second);
    }

    std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
