// A 1 MiB firmware image each way through the usb backend, libusb and the
// kernel's USB interface as umockdev emulates it (a high-speed printer, 512-byte
// packets), beside the same image each way through the virtual backend: 65,536
// chunks of 16 bytes. Run it with umockdev's preload library:
//   devlink/tests/with_emulated_usb.sh build/release/bin/devlink_usb_bench
// The figures per chunk: wall-clock time, and the CPU time of the whole process,
// which here includes the emulator's thread standing in for the kernel.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <string>

#include "EmulatedUsbPrinter.h"
#include "QV7_Sys_API.h"
#include "TempFolder.h"

namespace {

constexpr uint32_t kImageSize = 1048576;
constexpr double kChunks = kImageSize / 16.0;

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The emulated printer, its virtual twin and the image, made once, before
// anything is timed.
struct Printers {
    Printers() : usb(folder / "usb", qv7::kHighSpeedBulkPacket) {
        qv7test::WriteBytes(folder / "image.bin", qv7test::Pattern(kImageSize));
        unsetenv("QUILLORY_TRACE");
    }
    qv7test::TempFolder folder;
    qv7test::EmulatedUsbPrinter usb;
};

Printers& TheSetUp() {
    static Printers printers;
    return printers;
}

enum class Backend { Usb, Virtual };

bool Choose(benchmark::State& state, Backend backend) {
    Printers& printers = TheSetUp();
    if (!printers.usb.Unavailable().empty()) {
        state.SkipWithError(printers.usb.Unavailable().c_str());
        return false;
    }
    if (backend == Backend::Usb) {
        qv7test::ChooseEmulatedUsbPrinter();
    } else {
        setenv("QUILLORY_DEVICE", ("virtual:" + (printers.folder / "virtual")).c_str(), 1);
    }
    return true;
}

void Report(benchmark::State& state, double cpuSeconds) {
    const double chunks = kChunks * static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kImageSize);
    state.counters["time_per_chunk"] =
        benchmark::Counter(chunks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["process_cpu_per_chunk_us"] = cpuSeconds / chunks * 1e6;
}

void GiveFirmwareImage(benchmark::State& state, Backend backend) {
    if (!Choose(state, backend)) return;
    const std::string image = TheSetUp().folder / "image.bin";
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GiveFirmware(image, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state, ProcessCpuSeconds() - cpuBefore);
}

// Fetches the image the give above left in the printer.
void GetFirmwareImage(benchmark::State& state, Backend backend) {
    if (!Choose(state, backend)) return;
    const std::string target = TheSetUp().folder / "fetched.bin";
    const double cpuBefore = ProcessCpuSeconds();
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GetFirmware(target, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state, ProcessCpuSeconds() - cpuBefore);
}

BENCHMARK_CAPTURE(GiveFirmwareImage, Virtual, Backend::Virtual)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(GiveFirmwareImage, Usb, Backend::Usb)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(GetFirmwareImage, Virtual, Backend::Virtual)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(GetFirmwareImage, Usb, Backend::Usb)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
