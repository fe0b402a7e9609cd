// A 1 MiB label file each way between the PC and a virtual printer, 65,536
// chunks of 16 bytes, three ways: the library alone with no progress callback,
// a transfer job feeding a progress window that does nothing, and the job
// feeding the real "Please Wait" window over a shown main window. The window's
// own cost per chunk is the last figure minus the second. The 1 MiB firmware
// upgrade is timed the same three ways.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "FirmwareOperations.h"
#include "CPrinterService.h"
#include "FileChoicePort.h"
#include "PleaseWaitDlgFactory.h"
#include "ProgressWindow.h"
#include "PromptPort.h"
#include "QV7_Sys_API.h"

namespace {

using namespace quillory;

constexpr int kFileSize = 1048576;
constexpr double kChunks = kFileSize / 16.0;
constexpr uint8_t kLabelTypeIndex = 1;  // DAT, QV7, MAP in a seeded printer

class SilentPrompt : public PromptPort {
public:
    MessageAnswer ShowMessage(const QString&, MessageIcon, MessageButtons) override { return MessageAnswer::Ok; }
};

// A window that shows nothing and lets nothing run: what the job costs without one.
class NoWindows : public ProgressWindowFactory {
    class Window : public ProgressWindow {
    public:
        using ProgressWindow::ProgressWindow;
        void Close() override {}

    protected:
        void Show() override {}
        void ShowText(const QString&) override {}
        void ShowProgress(uint32_t, uint32_t) override {}
        void PumpEvents() override {}
    };

public:
    std::unique_ptr<ProgressWindow> Create(const QString& windowText, const QString& transferText,
                                           QWidget*) override {
        return std::make_unique<Window>(windowText, transferText);
    }
};

// The upgrade's questions answered at once: the QV7E keypad, no file choices.
class QV7EChoices : public FirmwareChoicePort, public FileChoicePort {
public:
    KeypadModel SelectModel() override { return kModelQV7E; }
    bool EnterAccessCode() override { return true; }
    bool ChooseFileToOpen(const FileChoice&, QString*) override { return false; }
    bool ChooseFileToSave(const FileChoice&, QString*) override { return false; }
};

struct Bench {
    Bench() {
        setenv("QUILLORY_DEVICE", qPrintable("virtual:" + folder.filePath("printer")), 1);
        setenv("QUILLORY_FIRMWARE_DIR", qPrintable(folder.filePath("images")), 1);
        unsetenv("QUILLORY_TRACE");
        QByteArray bytes(kFileSize, '\0');
        for (int i = 0; i < kFileSize; ++i) bytes[i] = static_cast<char>(i * 31);
        QFile file(Source());
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        file.close();
        QDir().mkpath(folder.filePath("images"));
        QFile::copy(Source(), FirmwareImagePath(kGeneration200, kModelQV7E));
        CQV7_Sys_API seed;  // seeds the printer before anything is timed
        seed.GiveFile(kLabelTypeIndex, 0, Source().toStdString(), nullptr);
        frame.resize(345, 480);
        frame.show();
        QCoreApplication::processEvents();
    }
    QString Source() const { return folder.filePath("source.qv7"); }
    QString Target() const { return folder.filePath("target.qv7"); }

    QTemporaryDir folder;
    SilentPrompt prompt;
    QMainWindow frame;
};

// Made in main() after the application object and gone before it: widgets
// must not outlive the application.
Bench* theBench = nullptr;

Bench& TheBench() {
    return *theBench;
}

void Report(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
    state.counters["time_per_chunk"] = benchmark::Counter(kChunks * static_cast<double>(state.iterations()),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void LibraryAlone(benchmark::State& state, bool send) {
    Bench& bench = TheBench();
    for (auto _ : state) {
        CQV7_Sys_API printer;
        if (send) {
            printer.GiveFile(kLabelTypeIndex, 0, bench.Source().toStdString(), nullptr);
        } else {
            printer.GetFile(kLabelTypeIndex, 0, bench.Target().toStdString(), nullptr);
        }
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void Job(benchmark::State& state, ProgressWindowFactory& windows, bool send) {
    Bench& bench = TheBench();
    CPrinterService service(bench.prompt, windows);
    if (!service.RebuildCatalog()) state.SkipWithError("no catalogue");
    for (auto _ : state) {
        const bool moved = send ? service.SendLabelFile(1, bench.Source(), &bench.frame)
                                : service.ReceiveLabelFile(1, bench.Target(), &bench.frame);
        if (!moved) state.SkipWithError("the transfer failed");
    }
    Report(state);
}

void ReceiveLibraryAlone(benchmark::State& state) {
    LibraryAlone(state, false);
}
void ReceiveWithoutWindow(benchmark::State& state) {
    NoWindows windows;
    Job(state, windows, false);
}
void ReceiveWithPleaseWaitDlg(benchmark::State& state) {
    PleaseWaitDlgFactory windows;
    Job(state, windows, false);
}
void SendLibraryAlone(benchmark::State& state) {
    LibraryAlone(state, true);
}
void SendWithoutWindow(benchmark::State& state) {
    NoWindows windows;
    Job(state, windows, true);
}
void SendWithPleaseWaitDlg(benchmark::State& state) {
    PleaseWaitDlgFactory windows;
    Job(state, windows, true);
}

void UpgradeLibraryAlone(benchmark::State& state) {
    const std::string image = FirmwareImagePath(kGeneration200, kModelQV7E).toStdString();
    for (auto _ : state) {
        CQV7_Sys_API printer;
        printer.GiveFirmware(image, nullptr);
        if (printer.IsError()) state.SkipWithError(printer.GetError().c_str());
    }
    Report(state);
}

void Upgrade(benchmark::State& state, ProgressWindowFactory& windows) {
    Bench& bench = TheBench();
    CPrinterService service(bench.prompt, windows);
    QV7EChoices choices;
    FirmwareOperations firmware(service, choices, choices, nullptr);
    for (auto _ : state) {
        if (!firmware.UpgradeFirmware(&bench.frame, kGeneration200)) state.SkipWithError("the upgrade failed");
    }
    Report(state);
}
void UpgradeWithoutWindow(benchmark::State& state) {
    NoWindows windows;
    Upgrade(state, windows);
}
void UpgradeWithPleaseWaitDlg(benchmark::State& state) {
    PleaseWaitDlgFactory windows;
    Upgrade(state, windows);
}

BENCHMARK(ReceiveLibraryAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(ReceiveWithoutWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(ReceiveWithPleaseWaitDlg)->Unit(benchmark::kMillisecond);
BENCHMARK(SendLibraryAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(SendWithoutWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(SendWithPleaseWaitDlg)->Unit(benchmark::kMillisecond);
BENCHMARK(UpgradeLibraryAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(UpgradeWithoutWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(UpgradeWithPleaseWaitDlg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Bench bench;
    theBench = &bench;
    benchmark::RunSpecifiedBenchmarks();
    theBench = nullptr;
    benchmark::Shutdown();
    return 0;
}
