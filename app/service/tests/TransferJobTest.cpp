// The six transfer jobs: the busy flag, the progress window and what a failed
// job shows.
#include <gtest/gtest.h>

#include "CPrinterService.h"
#include "FakeCatalog.h"
#include "ProgressWindow.h"
#include "ScriptedPorts.h"
#include "TempFolder.h"

namespace {

using quillory::CPrinterService;
using quillory::FileKind;
using quillory::MessageIcon;
using quillory::TransferDirection;
using Progress = std::vector<std::pair<uint32_t, uint32_t>>;

class Jobs : public ::testing::Test {
protected:
    void SetUp() override {
        printer.types = {{"DAT", {"DATA01", "DATA02", "DATA03"}},
                         {"QV7", {"Label01", "Label02"}},
                         {"MAP", {"Btmap01", "Btmap02"}}};
        ASSERT_TRUE(service.RebuildCatalog());
        scope.driver->calls.clear();
    }

    std::string DataFile(uint8_t marker) {
        std::vector<uint8_t> bytes = qv7test::Pattern(40);
        bytes[14] = marker;
        qv7test::WriteBytes(folder / "file.dat", bytes);
        return folder / "file.dat";
    }

    qv7test::ScriptedDriverScope scope;
    qv7test::FakeCatalog printer{*scope.driver};
    qv7test::TempFolder folder;
    quillorytest::RecordingPrompt prompt;
    quillorytest::RecordingProgressWindows windows;
    CPrinterService service{prompt, windows};
};

TEST_F(Jobs, WindowShowsTheTransferTextThenCountsBytes) {
    ASSERT_TRUE(service.SendDataFile(2, QString::fromStdString(DataFile(0xA5)), nullptr));
    EXPECT_EQ(windows.progress, (Progress{{0, 1}, {0, 40}, {16, 40}, {32, 40}, {40, 40}}));
    EXPECT_FALSE(service.IsTransferInProgress());
    EXPECT_EQ(scope.driver->CallsStartingWith("control 0x220010"),
              (std::vector<std::string>{"control 0x220010 0300000001000400" "28000000"}))
        << "slot 2 is slot index 1 on the wire";
}

TEST_F(Jobs, ASecondJobDuringATransferIsRefusedAtOnce) {
    qv7test::WriteBytes(folder / "label.qv7", qv7test::Pattern(64));
    std::vector<bool> nested;
    size_t callsDuringRefusal = 0;
    windows.onPump = [&] {
        if (!nested.empty()) return;
        EXPECT_TRUE(service.IsTransferInProgress());
        const size_t before = scope.driver->calls.size();
        nested.push_back(service.ReceiveLabelFile(1, QString::fromStdString(folder / "x.qv7"), nullptr));
        nested.push_back(service.RebuildCatalog());
        callsDuringRefusal = scope.driver->calls.size() - before;
    };
    EXPECT_TRUE(service.SendLabelFile(1, QString::fromStdString(folder / "label.qv7"), nullptr));
    EXPECT_EQ(nested, (std::vector<bool>{false, false}));
    EXPECT_EQ(callsDuringRefusal, 0u) << "neither the job nor the refresh may reach the printer";
    EXPECT_EQ(scope.driver->received.size(), 64u) << "the running transfer went on untouched";
    EXPECT_FALSE(service.IsTransferInProgress());
}

TEST_F(Jobs, SlotsOutOfRangeAndDataFilesWithoutTheirMarkerNeverReachThePrinter) {
    qv7test::WriteBytes(folder / "short.dat", qv7test::Pattern(14));
    for (const std::string& path : {DataFile(0xA4), folder / "short.dat", folder / "missing.dat"}) {
        EXPECT_FALSE(service.SendDataFile(1, QString::fromStdString(path), nullptr)) << path;
    }
    for (uint8_t slot : {0, 4, 255}) {
        EXPECT_FALSE(service.ReceiveDataFile(slot, QString::fromStdString(folder / "x.dat"), nullptr));
    }
    EXPECT_FALSE(service.SendSymbol(3, QString::fromStdString(folder / "x.bmp"), nullptr));
    EXPECT_TRUE(scope.driver->calls.empty()) << "not even a connection was opened";
    EXPECT_TRUE(windows.log.empty());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_FALSE(service.IsTransferInProgress());
}

TEST_F(Jobs, AFailedSendShowsTheLibraryTextThenTheCallersMessageAndAFailedReceiveOnlyTheCallers) {
    qv7test::SteppingClock clock(500);
    scope.driver->statusWords = {QV7_STATUS_UPLOAD_BUSY};
    qv7test::WriteBytes(folder / "label.qv7", qv7test::Pattern(10));
    const bool ok = service.SendLabelFile(2, QString::fromStdString(folder / "label.qv7"), nullptr);
    quillory::ShowTransferResult(prompt, FileKind::Label, TransferDirection::Send, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(prompt.shown, (std::vector<quillorytest::ShownMessage>{
                                {"Upload Timeout", MessageIcon::Information, quillory::MessageButtons::Ok},
                                {"Error sending label file!", MessageIcon::Exclamation, quillory::MessageButtons::Ok},
                            }));
    EXPECT_EQ(windows.log.back(), "destroy");

    prompt.shown.clear();
    scope.driver->deviceBytes = qv7test::Pattern(10);
    scope.driver->statusWords = {QV7_STATUS_DOWNLOAD_FAILED};
    EXPECT_FALSE(service.ReceiveSymbol(1, QString::fromStdString(folder / "sym.bmp"), nullptr));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(FinishedImageKind, OnlyTheTwoFirmwareSizesCountAndOnlyWhenFinished) {
    quillorytest::RecordingProgressWindows windows;
    struct Case {
        std::vector<std::pair<uint32_t, uint32_t>> reports;
        int kind;
    };
    const Case cases[] = {
        {{{0, 0x100000}, {0x100000, 0x100000}}, 1},
        {{{0, 0x110000}, {0x110000, 0x110000}}, 2},
        {{{0, 0x100000}, {0x0FFFF0, 0x100000}}, 0},
        {{{0x100000, 0x100000}, {0, 1}}, 1},
    };
    for (const Case& c : cases) {
        auto window = windows.Create("w", "t", nullptr);
        EXPECT_EQ(quillory::GetFinishedImageKind(), 0) << "a new window starts afresh";
        for (const auto& [done, total] : c.reports) quillory::TransferProgress(done, total);
        EXPECT_EQ(window->finishedImageKind(), c.kind);
        window.reset();
        EXPECT_EQ(quillory::GetFinishedImageKind(), c.kind) << "still known after the window closed";
        quillory::TransferProgress(1, 1);  // a stray report after the window is gone goes nowhere
    }
}

}  // namespace
