// A firmware image each way through the virtual printer, trace off, at two
// sizes: 64 KiB (4,096 chunks of 16 bytes) and 1 MiB (65,536 chunks). A
// transfer costs a fixed part (finding and locking the printer folder,
// reading its description, the temporary file, fsync and rename) and a part
// per chunk. The line through the two sizes gives both: its intercept is the
// fixed cost, its slope the cost per chunk, printed after the table in wall
// clock and CPU time. With --benchmark_repetitions the medians are fitted.
#include <sys/resource.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "QV7_Sys_API.h"

namespace {

constexpr int64_t kSmallImage = 64 * 1024;
constexpr int64_t kLargeImage = 1024 * 1024;
constexpr double kChunkSize = 16.0;

class PrinterFolder {
public:
    PrinterFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv7bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
        setenv("QUILLORY_DEVICE", ("virtual:" + path + "/printer").c_str(), 1);
        unsetenv("QUILLORY_TRACE");
        for (int64_t size : {kSmallImage, kLargeImage}) {
            std::vector<char> image(static_cast<size_t>(size));
            for (int64_t i = 0; i < size; ++i) image[static_cast<size_t>(i)] = static_cast<char>(i * 31);
            std::ofstream(Image(size), std::ios::binary).write(image.data(), size);
        }
        CQV7_Sys_API seed;  // seeds the folder before anything is timed
    }
    ~PrinterFolder() { std::filesystem::remove_all(path); }
    std::string Image(int64_t size) const { return path + "/image-" + std::to_string(size) + ".bin"; }
    std::string path;
};

PrinterFolder& Folder() {
    static PrinterFolder folder;
    return folder;
}

long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Report(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    state.counters["peak_rss_MiB"] = static_cast<double>(PeakResidentKiB()) / 1024.0;
}

void GiveFirmwareImage(benchmark::State& state) {
    const std::string image = Folder().Image(state.range(0));
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GiveFirmware(image, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void NoteProgress(uint32_t, uint32_t) {
    benchmark::ClobberMemory();
}

// Fetches an image of the benchmark's size, which an untimed give leaves in
// the printer first.
void Fetch(benchmark::State& state, QV7_PROGRESS_CALLBACK progress) {
    const std::string image = Folder().Image(state.range(0));  // the printer chosen before connecting
    {
        CQV7_Sys_API giver;  // gone before the timed connections: it holds the folder
        giver.GiveFirmware(image, nullptr);
        if (giver.IsError()) {
            state.SkipWithError(giver.GetError().c_str());
            return;
        }
    }
    const std::string target = Folder().path + "/fetched.bin";
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GetFirmware(target, progress);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void GetFirmwareImage(benchmark::State& state) {
    Fetch(state, nullptr);
}

void GetFirmwareImageWithProgress(benchmark::State& state) {
    Fetch(state, NoteProgress);
}

BENCHMARK(GiveFirmwareImage)->Arg(kSmallImage)->Arg(kLargeImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GetFirmwareImage)->Arg(kSmallImage)->Arg(kLargeImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(GetFirmwareImageWithProgress)
    ->Arg(kSmallImage)
    ->Arg(kLargeImage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The table as usual, then per benchmark the line through its two sizes.
class LineFittingReporter : public benchmark::ConsoleReporter {
public:
    LineFittingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (!single && !median)) continue;
            const double toNs = 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            points_[run.run_name.function_name].push_back(
                {std::stod(run.run_name.args) / kChunkSize, run.GetAdjustedRealTime() * toNs,
                 run.GetAdjustedCPUTime() * toNs});
        }
    }

    void PrintFits() const {
        std::printf("\n%-30s %12s %12s %12s %12s\n", "line through both sizes", "fixed wall", "fixed CPU",
                    "chunk wall", "chunk CPU");
        for (const auto& [name, points] : points_) {
            if (points.size() != 2 || points[0].chunks == points[1].chunks) continue;
            const Point& a = points[0];
            const Point& b = points[1];
            const double wallSlope = (b.wallNs - a.wallNs) / (b.chunks - a.chunks);
            const double cpuSlope = (b.cpuNs - a.cpuNs) / (b.chunks - a.chunks);
            std::printf("%-30s %9.3f ms %9.3f ms %9.1f ns %9.1f ns\n", name.c_str(),
                        (a.wallNs - wallSlope * a.chunks) / 1e6, (a.cpuNs - cpuSlope * a.chunks) / 1e6, wallSlope,
                        cpuSlope);
        }
    }

private:
    struct Point {
        double chunks;
        double wallNs;
        double cpuNs;
    };
    std::map<std::string, std::vector<Point>> points_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    LineFittingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintFits();
    benchmark::Shutdown();
    return 0;
}
