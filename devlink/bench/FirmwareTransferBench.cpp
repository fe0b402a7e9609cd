// A 1 MiB firmware image each way through the emulated printer, trace off:
// 65,536 chunks of 16 bytes. The figure that matters is the host cost per chunk.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "QV7_Sys_API.h"

namespace {

constexpr uint32_t kImageSize = 1048576;
constexpr double kChunks = kImageSize / 16.0;

class PrinterFolder {
public:
    PrinterFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qv7bench-XXXXXX").string();
        path = mkdtemp(pattern.data());
        setenv("QUILLORY_DEVICE", ("virtual:" + path + "/printer").c_str(), 1);
        unsetenv("QUILLORY_TRACE");
        std::vector<char> image(kImageSize);
        for (uint32_t i = 0; i < kImageSize; ++i) image[i] = static_cast<char>(i * 31);
        std::ofstream(path + "/image.bin", std::ios::binary).write(image.data(), kImageSize);
        CQV7_Sys_API seed;  // seeds the folder before anything is timed
    }
    ~PrinterFolder() { std::filesystem::remove_all(path); }
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
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kImageSize);
    // Seconds per chunk: chunks moved, as a rate, inverted.
    state.counters["time_per_chunk"] = benchmark::Counter(kChunks * static_cast<double>(state.iterations()),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["peak_rss_MiB"] = static_cast<double>(PeakResidentKiB()) / 1024.0;
}

void GiveFirmwareImage(benchmark::State& state) {
    const std::string image = Folder().path + "/image.bin";
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GiveFirmware(image, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void GetFirmwareImage(benchmark::State& state) {
    const std::string target = Folder().path + "/fetched.bin";
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GetFirmware(target, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void NoteProgress(uint32_t, uint32_t) {
    benchmark::ClobberMemory();
}

void GetFirmwareImageWithProgress(benchmark::State& state) {
    const std::string target = Folder().path + "/fetched.bin";
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GetFirmware(target, NoteProgress);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

BENCHMARK(GiveFirmwareImage)->Unit(benchmark::kMillisecond);
BENCHMARK(GetFirmwareImage)->Unit(benchmark::kMillisecond);
BENCHMARK(GetFirmwareImageWithProgress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
