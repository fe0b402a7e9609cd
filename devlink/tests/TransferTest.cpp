// Whole-file transfers: chunking, progress, the status wait, and what is left
// on the PC when something fails.
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "ScriptedDriver.h"
#include "TempFolder.h"

namespace {

using qv7test::ProgressLog;
using qv7test::ReadBytes;
using qv7test::RecordProgress;
using qv7test::ScriptedDriverScope;
using qv7test::SteppingClock;
using qv7test::TempFolder;
using qv7test::WriteBytes;
using Progress = std::vector<std::pair<uint32_t, uint32_t>>;

class Transfers : public ::testing::Test {
protected:
    void SetUp() override { ProgressLog().clear(); }
    ScriptedDriverScope scope;
    TempFolder folder;
    std::shared_ptr<qv7test::ScriptedDriver>& driver = scope.driver;
};

TEST_F(Transfers, FortyBytesGoOutAsSixteenSixteenEightWithProgressAfterEach) {
    WriteBytes(folder / "image.bin", qv7test::Pattern(40));
    CQV7_Sys_API printer;
    printer.GiveFirmware(folder / "image.bin", RecordProgress);
    EXPECT_EQ(printer.GetError(), "");
    EXPECT_EQ(driver->CallsStartingWith("write"), (std::vector<std::string>{"write 16", "write 16", "write 8"}));
    EXPECT_EQ(ProgressLog(), (Progress{{0, 40}, {16, 40}, {32, 40}, {40, 40}}));
    EXPECT_EQ(driver->received, qv7test::Pattern(40));
    EXPECT_EQ(driver->statusQueries, 0) << "a firmware image is not followed by status queries";
    EXPECT_EQ(driver->openHandles, 1) << "the pipe is closed again";
}

TEST_F(Transfers, ShortReadStopsTheTransferAndCountsWhatIsMissing) {
    driver->deviceBytes = qv7test::Pattern(40);
    driver->readMoves = [](int call, uint32_t asked) { return call == 2 ? 10u : asked; };
    CQV7_Sys_API printer;
    printer.GetFirmware(folder / "firmware.bin", RecordProgress);
    EXPECT_EQ(printer.GetError(), "Read Failed, 24 Bytes Remaining");
    EXPECT_EQ(ProgressLog(), (Progress{{0, 40}, {16, 40}, {16, 40}}));
    EXPECT_EQ(driver->CallsStartingWith("read"), (std::vector<std::string>{"read 16", "read 16"}));
    EXPECT_FALSE(std::filesystem::exists(folder / "firmware.bin"));
}

TEST_F(Transfers, ZeroLengthFileIsAnnouncedButNothingMoves) {
    WriteBytes(folder / "empty.qv7", {});
    CQV7_Sys_API printer;
    printer.GiveFile(1, 0, folder / "empty.qv7", RecordProgress);
    EXPECT_EQ(printer.GetError(), "No Point sending 0 bytes");
    EXPECT_EQ(driver->CallsStartingWith("control 0x220010").size(), 1u);
    EXPECT_TRUE(driver->CallsStartingWith("write").empty());
    EXPECT_TRUE(ProgressLog().empty());
    EXPECT_GE(driver->statusQueries, 1) << "the status wait still runs";
}

TEST_F(Transfers, NoFileToSendOrFolderToGetIntoSendsNoCommand) {
    CQV7_Sys_API printer;
    const std::string missing = folder / "nothing.dat", noFolder = folder / "no/such/folder/file.dat";
    printer.GiveFile(0, 0, missing, nullptr);
    EXPECT_EQ(printer.GetError(), "Invalid file name:" + missing);
    printer.GiveFirmware(folder.path(), nullptr);
    EXPECT_EQ(printer.GetError(), "Invalid file name:" + folder.path()) << "a folder is not a file to send";
    printer.GetFile(0, 0, noFolder, nullptr);
    EXPECT_EQ(printer.GetError(), "Invalid file name:" + noFolder);
    printer.GetFirmware(folder.path(), nullptr);
    EXPECT_EQ(printer.GetError(), "Invalid file name:" + folder.path());
    EXPECT_TRUE(driver->CallsStartingWith("control").empty());
}

TEST_F(Transfers, AFileThatReadsShorterThanItsSizeIsNotSent) {
    // A sysfs file claims a page and gives a few bytes: the same as a file that
    // shrinks while it is read, or a medium that fails part way.
    const std::string shrinking = "/sys/devices/system/cpu/online";
    struct stat info {};
    if (stat(shrinking.c_str(), &info) != 0 || info.st_size <= 16) GTEST_SKIP() << "no sysfs here";
    CQV7_Sys_API printer;
    printer.GiveFile(1, 0, shrinking, nullptr);
    EXPECT_EQ(printer.GetError(), "Unable to read file:" + shrinking);
    printer.GetError();
    printer.GiveFirmware(shrinking, nullptr);
    EXPECT_EQ(printer.GetError(), "Unable to read file:" + shrinking);
    EXPECT_TRUE(driver->CallsStartingWith("control 0x220010").empty()) << "nothing is announced";
    EXPECT_TRUE(driver->CallsStartingWith("write").empty());
}

TEST_F(Transfers, FailedGetLeavesTheExistingFileUntouchedAndNoTemporaryBehind) {
    const std::vector<uint8_t> precious = qv7test::Pattern(123, 9);
    WriteBytes(folder / "keep.dat", precious);

    struct Failure {
        const char* what;
        std::function<void(qv7test::ScriptedDriver&)> arrange;
        const char* text;
    };
    const Failure failures[] = {
        {"announce refused", [](auto& d) { d.controlFails = true; }, "Device Failed To Send Get File Command"},
        {"short read", [](auto& d) { d.readMoves = [](int, uint32_t) { return 3u; }; }, "Read Failed, 64 Bytes Remaining"},
        {"device failure", [](auto& d) { d.statusWords = {QV7_STATUS_DOWNLOAD_FAILED}; }, "File Download Error"},
        {"device busy for ever", [](auto& d) { d.statusWords = {QV7_STATUS_DOWNLOAD_BUSY}; }, "Download Timeout"},
    };
    SteppingClock clock(100);
    for (const Failure& failure : failures) {
        ScriptedDriverScope local;
        local.driver->deviceBytes = qv7test::Pattern(64);
        failure.arrange(*local.driver);
        CQV7_Sys_API printer;
        printer.GetFile(0, 0, folder / "keep.dat", nullptr);
        EXPECT_EQ(printer.GetError(), failure.text) << failure.what;
        EXPECT_EQ(ReadBytes(folder / "keep.dat"), precious) << failure.what;
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.dat"}) << failure.what;
    }
}

// File modes and address-space limits are POSIX matters.
#ifndef _WIN32
TEST_F(Transfers, SuccessfulGetReplacesTheFileAndKeepsItsPermissions) {
    WriteBytes(folder / "slot.dat", {1, 2, 3});
    ASSERT_EQ(chmod((folder / "slot.dat").c_str(), 0640), 0);
    driver->deviceBytes = qv7test::Pattern(50);
    driver->statusWords = {QV7_STATUS_DOWNLOAD_BUSY, 0};
    CQV7_Sys_API printer;
    printer.GetFile(0, 4, folder / "slot.dat", nullptr);
    EXPECT_EQ(printer.GetError(), "");
    EXPECT_EQ(ReadBytes(folder / "slot.dat"), qv7test::Pattern(50));
    struct stat info {};
    ASSERT_EQ(stat((folder / "slot.dat").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"slot.dat"});
}
#endif

// ---- the status wait ----------------------------------------------------------

TEST_F(Transfers, AGiveWaitsWhileTheDeviceIsBusyAndTakesItsVerdict) {
    SteppingClock clock(100);
    WriteBytes(folder / "label.qv7", qv7test::Pattern(40));
    struct Case {
        const char* what;
        std::deque<uint16_t> status;
        uint32_t (*writeMoves)(int call, uint32_t asked);
        const char* text;
        int queries;
    } const cases[] = {
        {"busy, then done", {QV7_STATUS_UPLOAD_BUSY, QV7_STATUS_UPLOAD_BUSY, 0}, nullptr, "", 3},
        // One clock reading for the start, then one per round: 200 rounds of
        // 100 ms reach the twenty seconds, the 201st passes them.
        {"busy for ever", {QV7_STATUS_UPLOAD_BUSY}, nullptr, "Upload Timeout", 200},
        {"a shortfall, then the device's failure", {QV7_STATUS_UPLOAD_FAILED},
         [](int call, uint32_t asked) { return call == 2 ? 0u : asked; }, "File Upload Error", 1},
    };
    for (const Case& c : cases) {
        ScriptedDriverScope local;
        local.driver->statusWords = c.status;
        if (c.writeMoves) local.driver->writeMoves = c.writeMoves;
        CQV7_Sys_API printer;
        printer.GiveFile(1, 3, folder / "label.qv7", nullptr);
        EXPECT_EQ(printer.GetError(), c.text) << c.what;
        EXPECT_EQ(local.driver->statusQueries, c.queries) << c.what;
    }
}

TEST_F(Transfers, AnUncollectedErrorStopsTheNextTransferAfterItsAnnouncement) {
    WriteBytes(folder / "label.qv7", qv7test::Pattern(40));
    CQV7_Sys_API printer;
    uint16_t value = 0;
    driver->replies[5] = {1};
    EXPECT_FALSE(printer.GetFileTypes(&value));
    printer.GiveFile(1, 0, folder / "label.qv7", nullptr);
    EXPECT_EQ(driver->CallsStartingWith("control 0x220010").size(), 1u);
    EXPECT_TRUE(driver->CallsStartingWith("write").empty());
}

// ---- sizes announced by the printer ---------------------------------------------

TEST_F(Transfers, AnnouncedSizeBeyondAnyImageIsRefusedBeforeAByteIsAsked) {
    const std::string target = folder / "huge.dat";
    WriteBytes(target, {42});
    driver->replies[4] = {0xF0, 0xFF, 0xFF, 0xFF};
    driver->replies[2] = {0x01, 0x00, 0x00, 0x01};  // 16 MiB and one byte
    CQV7_Sys_API printer;
    printer.GetFile(0, 0, target, nullptr);
    EXPECT_EQ(printer.GetError(), "Unable to Allocate: 4294967280 Bytes");
    printer.GetFirmware(target, nullptr);
    EXPECT_EQ(printer.GetError(), "Unable to Allocate:16777217 Bytes");
    EXPECT_TRUE(driver->CallsStartingWith("pipe").empty());
    EXPECT_EQ(ReadBytes(target), std::vector<uint8_t>{42});
}

TEST_F(Transfers, ALargeAnnouncementThatDeliversLittleEndsInAShortfall) {
    driver->replies[2] = {0x00, 0x00, 0x00, 0x01};  // 16 MiB, the largest image
    driver->deviceBytes = qv7test::Pattern(40);
    CQV7_Sys_API printer;
    printer.GetFirmware(folder / "firmware.bin", nullptr);
    EXPECT_EQ(printer.GetError(), "Read Failed, 16777184 Bytes Remaining");
    EXPECT_EQ(driver->CallsStartingWith("read").size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(folder / "firmware.bin"));
}

}  // namespace
