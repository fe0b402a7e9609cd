// The whole library over the usb backend, with the emulated printer at the far
// end of the USB requests: everything a real printer meets but libusb itself.
#include <cstdlib>

#include <gtest/gtest.h>

#include "LoopbackUsbTransport.h"
#include "QV7_Sys_API.h"
#include "TempFolder.h"
#include "UsbDriver.h"
#include "qv7/VirtualPrinter.h"

namespace {

using qv7test::ReadBytes;
using qv7test::TempFolder;

class UsbLoopbackLink : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string printerFolder = folder / "printer";
        qv7::SetDriverFactory([printerFolder]() -> std::shared_ptr<qv7::DeviceDriver> {
            std::string error;
            std::shared_ptr<qv7::VirtualPrinter> printer = qv7::VirtualPrinter::Open(printerFolder, &error);
            if (!printer) return nullptr;
            return std::make_shared<qv7::UsbDriver>(std::make_shared<qv7::LoopbackUsbTransport>(printer),
                                                    qv7::kPlaceholderUsbIds);
        });
        setenv("QUILLORY_TRACE", (folder / "trace.txt").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("QUILLORY_TRACE");
        qv7::SetDriverFactory(nullptr);
    }
    std::string Trace() {
        const std::vector<uint8_t> bytes = ReadBytes(folder / "trace.txt");
        return std::string(bytes.begin(), bytes.end());
    }
    TempFolder folder;
};

TEST_F(UsbLoopbackLink, CatalogueAndRoundTripTravelAsUsbRequests) {
    const std::vector<uint8_t> label = qv7test::Pattern(1000, 5);
    qv7test::WriteBytes(folder / "label.qv7", label);
    {
        CQV7_Sys_API printer;
        ASSERT_FALSE(printer.IsError()) << printer.GetError();
        uint32_t version = 0;
        uint16_t types = 0;
        QV7_FILE_ATTRIBUTES stored{};
        ASSERT_TRUE(printer.GetVersion(&version));
        ASSERT_TRUE(printer.GetFileTypes(&types));
        ASSERT_TRUE(printer.GetFileAttributes(2, 0, &stored));
        EXPECT_EQ(version, 3u);
        EXPECT_EQ(types, 3);
        EXPECT_STREQ(stored.fileName, "Btmap01");
        printer.GiveFile(1, 9, folder / "label.qv7", nullptr);
        EXPECT_EQ(printer.GetError(), "");
    }
    CQV7_Sys_API printer;
    printer.GetFile(1, 9, folder / "back.qv7", nullptr);
    EXPECT_EQ(printer.GetError(), "");
    EXPECT_EQ(ReadBytes(folder / "back.qv7"), label);

    const std::string trace = Trace();
    EXPECT_NE(trace.find("open usb:001-007 ok\n"), std::string::npos) << trace;
    EXPECT_NE(trace.find("control 0x220014 in=0800020000000900000000000000000000 out=9 returned=9 ok\n"),
              std::string::npos);
    EXPECT_NE(trace.find("control 0x220010 in=030001000900040" "0e8030000 out=0 returned=0 ok\n"), std::string::npos);
    EXPECT_NE(trace.find("pipe PIPE01 ok\nwrite 16 moved=16\n"), std::string::npos);
    EXPECT_NE(trace.find("read 8 moved=8\n"), std::string::npos) << "1000 bytes end in a chunk of 8";
}

}  // namespace
