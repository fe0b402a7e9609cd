// The Windows kernel-driver backend on a machine where no printer of its
// interface class is attached, and its pipe calls on real handles: an
// anonymous pipe stands in for a bulk pipe that never answers.
#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "ScriptedDriver.h"
#include "TempFolder.h"
#include "Win32Driver.h"

namespace {

using qv7test::TempFolder;

qv7::DriverHandle HandleOf(int descriptor) {
    return reinterpret_cast<qv7::DriverHandle>(_get_osfhandle(descriptor));
}

// The handle value the platform gives to the next file opened. Freed handle
// slots are reused, so the same value before and after some work means the
// work left no handle open.
intptr_t NextHandleValue(const std::string& anyFile) {
    std::FILE* file = std::fopen(anyFile.c_str(), "rb");
    const intptr_t value = _get_osfhandle(_fileno(file));
    std::fclose(file);
    return value;
}

// Discovery names a path where no device answers; the backend opens it.
class DevicePathWithoutDevice final : public qv7test::ScriptedDriver {
public:
    explicit DevicePathWithoutDevice(const std::string& missing) { path = missing; }
    qv7::DriverHandle OpenDevice(const std::string& devicePath) override { return real_.OpenDevice(devicePath); }

private:
    qv7::Win32Driver real_;
};

class Win32Backend : public ::testing::Test {
protected:
    void SetUp() override { qv7test::WriteBytes(folder / "probe", {1}); }
    void TearDown() override { unsetenv("QUILLORY_DEVICE"); }

    TempFolder folder;
    qv7::Win32Driver driver;
};

TEST_F(Win32Backend, IsTheDefaultAndReportsTheMissingPrinterAtDiscovery) {
    for (const char* device : {"", "win32"}) {
        setenv("QUILLORY_DEVICE", device, 1);
        CQV7_Sys_API printer;
        EXPECT_TRUE(printer.IsError()) << device;
        EXPECT_EQ(printer.GetError(), "Invalid Device Instance") << device;
    }
}

TEST_F(Win32Backend, RefusedOpensGiveNoHandleAndThePlatformsErrorNumber) {
    const std::string missing = folder / "no-such-device";
    qv7::SetDriverFactory([&] { return std::make_shared<DevicePathWithoutDevice>(missing); });
    {
        CQV7_Sys_API printer;
        EXPECT_EQ(printer.GetError(), "Invalid Device Handle Created");
    }
    qv7::SetDriverFactory(nullptr);

    uint32_t errorNumber = 0;
    EXPECT_EQ(driver.OpenPipe(folder / "no-such-device" + "\\PIPE01", &errorNumber), nullptr);
    EXPECT_EQ(errorNumber, 3u);  // the path's folder is missing
    EXPECT_EQ(driver.OpenPipe(folder / "PIPE00", &errorNumber), nullptr);
    EXPECT_EQ(errorNumber, 2u);  // the folder is there, the pipe is not

    // A handle that is no device refuses control requests and returns nothing.
    qv7::DriverHandle file = driver.OpenDevice(folder / "probe");
    ASSERT_NE(file, nullptr);
    uint8_t reply[4] = {};
    uint32_t returned = 99;
    EXPECT_FALSE(driver.Control(file, 0x22000C, nullptr, 0, reply, sizeof reply, &returned));
    EXPECT_EQ(returned, 0u);
    driver.Close(file);
}

TEST_F(Win32Backend, FailedDiscoveriesAndOpensLeaveNoHandleOpen) {
    auto attempt = [&] {
        CQV7_Sys_API printer;
        uint32_t errorNumber = 0;
        driver.OpenPipe(folder / "PIPE01", &errorNumber);
        driver.Close(driver.OpenDevice(folder / "probe"));
    };
    attempt();  // the platform sets up what it keeps for the process on first use
    const intptr_t before = NextHandleValue(folder / "probe");
    for (int round = 0; round < 20; ++round) attempt();
    EXPECT_EQ(NextHandleValue(folder / "probe"), before);
}

TEST_F(Win32Backend, PipeCallsEndAtTheirTimeLimitWhenNothingMoves) {
    int ends[2];
    ASSERT_EQ(_pipe(ends, 16, _O_BINARY), 0);
    const qv7::DriverHandle in = HandleOf(ends[0]);
    const qv7::DriverHandle out = HandleOf(ends[1]);
    // The library's read and write settings with a short limit; a pipe takes
    // no comm time-outs, so only the backend's own limit can end the calls.
    driver.SetPipeTimeouts(in, {0xFFFFFFFFu, 0xFFFFFFFFu, 300, 0, 0});
    driver.SetPipeTimeouts(out, {0, 0, 0, 0, 300});

    uint8_t chunk[16] = {};
    uint32_t moved = 99;
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(driver.ReadPipe(in, chunk, 16, &moved));
    auto took = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(moved, 0u);
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::milliseconds(3000));

    // Bytes that are there arrive whole.
    const uint8_t sent[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(driver.WritePipe(out, sent, 16, &moved));
    EXPECT_EQ(moved, 16u);
    ASSERT_TRUE(driver.ReadPipe(in, chunk, 16, &moved));
    EXPECT_EQ(moved, 16u);
    EXPECT_EQ(std::vector<uint8_t>(chunk, chunk + 16), std::vector<uint8_t>(sent, sent + 16));

    // A write nobody reads fills the pipe and then ends at its limit too.
    started = std::chrono::steady_clock::now();
    bool wrote = true;
    for (int call = 0; call < 64 && wrote; ++call) wrote = driver.WritePipe(out, sent, 16, &moved);
    took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(wrote);
    EXPECT_LT(took, std::chrono::milliseconds(3000));

    _close(ends[0]);
    _close(ends[1]);
}

}  // namespace
