// The driver seam mapped onto USB, checked at the bus: a UsbDriver over the
// loopback transport, with a recorder in between and a scripted printer at
// the far end.
#include <gtest/gtest.h>

#include <cerrno>

#include "LoopbackUsbTransport.h"
#include "RecordingUsbTransport.h"
#include "UsbDriver.h"
#include "UsbIdSetting.h"
#include "qv7/VirtualPrinter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using qv7::FindStep;
using qv7test::RecordingUsbTransport;

// Device side of the protocol reduced to what the mapping touches: it keeps
// the blocks and bulk bytes it is given and answers with what it is told to.
class ScriptedPrinter final : public qv7::VirtualPrinter {
public:
    bool present = true;
    bool refuseBlocks = false;
    bool unplugAfterBlock = false;
    uint32_t version = 0x04030201;
    Bytes reply;
    Bytes toSend;
    std::vector<Bytes> giveBlocks, getBlocks;
    Bytes received;

    bool IsPresent() const override { return present; }
    uint32_t DriverVersion() const override { return version; }
    bool TakeGiveCommand(const uint8_t* block, uint32_t length) override {
        giveBlocks.emplace_back(block, block + length);
        return !refuseBlocks;
    }
    bool TakeGetCommand(const uint8_t* block, uint32_t length) override {
        getBlocks.emplace_back(block, block + length);
        if (unplugAfterBlock) present = false;
        return !refuseBlocks;
    }
    uint32_t ReadReply(uint8_t* out, uint32_t capacity) override {
        std::copy_n(reply.begin(), std::min<size_t>(capacity, reply.size()), out);
        return static_cast<uint32_t>(reply.size());
    }
    uint32_t WriteBulk(const uint8_t* data, uint32_t length) override {
        received.insert(received.end(), data, data + length);
        return length;
    }
    uint32_t ReadBulk(uint8_t* data, uint32_t length) override {
        const uint32_t given = std::min<uint32_t>(length, static_cast<uint32_t>(toSend.size() - sent_));
        std::copy_n(toSend.begin() + static_cast<long>(sent_), given, data);
        sent_ += given;
        return given;
    }

private:
    size_t sent_ = 0;
};

class UsbDriverTest : public ::testing::Test {
protected:
    std::shared_ptr<ScriptedPrinter> printer = std::make_shared<ScriptedPrinter>();
    std::shared_ptr<RecordingUsbTransport> bus =
        std::make_shared<RecordingUsbTransport>(std::make_shared<qv7::LoopbackUsbTransport>(printer));
    qv7::UsbDriver driver{bus, qv7::kPlaceholderUsbIds};
    std::string path;

    qv7::DriverHandle OpenPrinter() {
        const qv7::FindResult found = driver.FindDevice();
        EXPECT_EQ(found.step, FindStep::Found);
        path = found.path;
        return driver.OpenDevice(path);
    }

    qv7::DriverHandle Pipe(const std::string& name, uint32_t* errorNumber = nullptr) {
        uint32_t ignored = 0;
        return driver.OpenPipe(path + "\\" + name, errorNumber ? errorNumber : &ignored);
    }
};

TEST_F(UsbDriverTest, FindsThePrinterByBusAndAddressAndClaimsInterfaceZero) {
    ASSERT_NE(OpenPrinter(), nullptr);
    EXPECT_EQ(path, "usb:001-007");
    EXPECT_EQ(bus->steps, (std::vector<std::string>{"open 1-7", "claim 0"}));
}

TEST(UsbDriverFind, EachFailureHasItsStep) {
    struct Case {
        const char* what;
        std::optional<qv7::UsbIds> ids;
        bool present;
        int startError, listError;
        FindStep expected;
    } const cases[] = {
        {"other ids", qv7::UsbIds{0x1234, 0x5678}, true, 0, 0, FindStep::NoDevice},
        {"printer unplugged", qv7::kPlaceholderUsbIds, false, 0, 0, FindStep::NoDevice},
        {"usb stack down", qv7::kPlaceholderUsbIds, true, EACCES, 0, FindStep::NoInterfaceClass},
        {"device list unavailable", qv7::kPlaceholderUsbIds, true, 0, ENOMEM, FindStep::NoInterfaceClass},
        {"ids unreadable", std::nullopt, true, 0, 0, FindStep::NoInterfaceClass},
    };
    for (const Case& c : cases) {
        auto printer = std::make_shared<ScriptedPrinter>();
        printer->present = c.present;
        auto bus = std::make_shared<RecordingUsbTransport>(std::make_shared<qv7::LoopbackUsbTransport>(printer));
        bus->startError = c.startError;
        bus->listError = c.listError;
        qv7::UsbDriver driver(bus, c.ids);
        const qv7::FindResult found = driver.FindDevice();
        EXPECT_EQ(found.step, c.expected) << c.what;
        EXPECT_EQ(found.path, "") << c.what;
    }
}

TEST_F(UsbDriverTest, ControlCodesBecomeVendorRequestsOnInterfaceZero) {
    const Bytes giveBlock{0x03, 0x00, 0x01, 0x00, 0x03, 0x00, 0x04, 0x00, 0x2C, 0x01, 0x00, 0x00};
    Bytes getBlock{0x08, 0x00, 0x02, 0x00, 0x00, 0x00, 0x09, 0x00};
    getBlock.resize(17);
    printer->reply = {'L', 'a', 'b', 'e', 'l', '0', '1', 0, 0};

    struct Stage {
        uint8_t requestType, request;
        uint16_t length;
    };
    struct Case {
        uint32_t code;
        Bytes input;
        uint32_t outputLength;
        std::vector<Stage> stages;
        Bytes output;
    } const cases[] = {
        {0x22000C, {}, 4, {{0xC1, 3, 4}}, {0x01, 0x02, 0x03, 0x04}},
        {0x220010, giveBlock, 0, {{0x41, 4, 12}}, {}},
        {0x220014, getBlock, 9, {{0x41, 5, 17}, {0xC1, 5, 9}}, printer->reply},
    };

    qv7::DriverHandle device = OpenPrinter();
    ASSERT_NE(device, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        bus->controls.clear();
        Bytes output(c.outputLength, 0xEE);
        uint32_t returned = 99;
        ASSERT_TRUE(driver.Control(device, c.code, c.input.data(), static_cast<uint32_t>(c.input.size()),
                                   output.data(), c.outputLength, &returned));
        EXPECT_EQ(returned, c.output.size());
        EXPECT_EQ(output, c.output);
        ASSERT_EQ(bus->controls.size(), c.stages.size());
        for (size_t i = 0; i < c.stages.size(); ++i) {
            const qv7test::RecordedControl& sent = bus->controls[i];
            EXPECT_EQ(sent.setup.requestType, c.stages[i].requestType);
            EXPECT_EQ(sent.setup.request, c.stages[i].request);
            EXPECT_EQ(sent.setup.value, 0);
            EXPECT_EQ(sent.setup.index, 0);
            EXPECT_EQ(sent.setup.length, c.stages[i].length);
            EXPECT_EQ(sent.timeoutMs, 5000u);
        }
        if (!c.input.empty()) {
            EXPECT_EQ(bus->controls[0].data, c.input);
        }
    }
    EXPECT_EQ(printer->giveBlocks, std::vector<Bytes>{giveBlock});
    EXPECT_EQ(printer->getBlocks, std::vector<Bytes>{getBlock});
}

TEST_F(UsbDriverTest, ReplyBearingCommandFailures) {
    const Bytes block{0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    struct Case {
        const char* what;
        Bytes reply;
        bool refuse;
        bool unplug;
        uint32_t code;
        bool ok;
        uint32_t returned;
        size_t stages;
    } const cases[] = {
        {"short reply is the caller's to judge", {0x03}, false, false, 0x220014, true, 1, 2},
        {"refused block asks for no reply", {0x03, 0x00}, true, false, 0x220014, false, 0, 1},
        {"printer gone before the reply", {0x03, 0x00}, false, true, 0x220014, false, 0, 2},
        {"unknown code sends nothing", {0x03, 0x00}, false, false, 0x220018, false, 0, 0},
    };
    qv7::DriverHandle device = OpenPrinter();
    ASSERT_NE(device, nullptr);
    for (const Case& c : cases) {
        printer->reply = c.reply;
        printer->refuseBlocks = c.refuse;
        printer->unplugAfterBlock = c.unplug;
        printer->present = true;
        bus->controls.clear();
        uint8_t output[2] = {};
        uint32_t returned = 99;
        EXPECT_EQ(driver.Control(device, c.code, block.data(), 10, output, 2, &returned), c.ok) << c.what;
        EXPECT_EQ(returned, c.returned) << c.what;
        EXPECT_EQ(bus->controls.size(), c.stages) << c.what;
    }
}

TEST_F(UsbDriverTest, EachPipeUsesItsBulkEndpointAndDirection) {
    printer->toSend = {9, 8, 7, 6, 5};
    ASSERT_NE(OpenPrinter(), nullptr);
    qv7::DriverHandle out = Pipe("PIPE01");
    qv7::DriverHandle in = Pipe("PIPE00");
    ASSERT_NE(out, nullptr);
    ASSERT_NE(in, nullptr);

    const Bytes chunk{1, 2, 3};
    uint8_t arrived[5] = {};
    uint32_t moved = 0;
    EXPECT_TRUE(driver.WritePipe(out, chunk.data(), 3, &moved));
    EXPECT_EQ(moved, 3u);
    EXPECT_TRUE(driver.ReadPipe(in, arrived, 5, &moved));
    EXPECT_EQ(moved, 5u);
    // A pipe goes one way only.
    EXPECT_FALSE(driver.ReadPipe(out, arrived, 5, &moved));
    EXPECT_FALSE(driver.WritePipe(in, chunk.data(), 3, &moved));

    EXPECT_EQ(printer->received, chunk);
    EXPECT_EQ(Bytes(arrived, arrived + 5), printer->toSend);
    ASSERT_EQ(bus->bulks.size(), 2u);
    EXPECT_EQ(bus->bulks[0].endpoint, qv7::kLoopbackBulkOut);
    EXPECT_EQ(bus->bulks[1].endpoint, qv7::kLoopbackBulkIn);
}

TEST_F(UsbDriverTest, PipePathsThatNameNoPipeAreRefused) {
    ASSERT_NE(OpenPrinter(), nullptr);
    struct Case {
        std::string pipePath;
        uint32_t errorNumber;
    } const cases[] = {
        {path + "\\PIPE02", ENOENT},
        {path + "\\pipe00", ENOENT},
        {path + "/PIPE00", ENOENT},
        {"PIPE00", ENOENT},
        {"usb:001-008\\PIPE00", ENODEV},
    };
    for (const Case& c : cases) {
        uint32_t errorNumber = 0;
        EXPECT_EQ(driver.OpenPipe(c.pipePath, &errorNumber), nullptr) << c.pipePath;
        EXPECT_EQ(errorNumber, c.errorNumber) << c.pipePath;
    }
}

TEST_F(UsbDriverTest, EachPipeTakesItsOwnDirectionsTimeLimit) {
    printer->toSend = Bytes(32, 1);
    ASSERT_NE(OpenPrinter(), nullptr);
    qv7::DriverHandle out = Pipe("PIPE01");
    qv7::DriverHandle in = Pipe("PIPE00");
    uint8_t buffer[16] = {};
    uint32_t moved = 0;

    driver.WritePipe(out, buffer, 16, &moved);
    driver.SetPipeTimeouts(out, qv7::PipeTimeouts{11, 22, 33, 44, 55});
    driver.SetPipeTimeouts(in, qv7::PipeTimeouts{11, 22, 33, 44, 55});
    driver.WritePipe(out, buffer, 16, &moved);
    driver.ReadPipe(in, buffer, 16, &moved);
    driver.SetPipeTimeouts(in, qv7::PipeTimeouts{0xFFFFFFFF, 0xFFFFFFFF, 5000, 0, 0});
    driver.ReadPipe(in, buffer, 16, &moved);

    std::vector<unsigned> limits;
    for (const qv7test::RecordedBulk& call : bus->bulks) limits.push_back(call.timeoutMs);
    EXPECT_EQ(limits, (std::vector<unsigned>{5000, 55, 33, 5000}));
}

TEST_F(UsbDriverTest, ShortTransfersComeBackAsShortfalls) {
    printer->toSend = Bytes(64, 2);
    bus->bulkMoves = [](int call, uint32_t asked) { return call == 2 ? 10u : call == 4 ? 0u : asked; };
    ASSERT_NE(OpenPrinter(), nullptr);
    qv7::DriverHandle out = Pipe("PIPE01");
    qv7::DriverHandle in = Pipe("PIPE00");
    uint8_t buffer[16] = {};
    uint32_t moved = 0;

    EXPECT_TRUE(driver.WritePipe(out, buffer, 16, &moved));
    EXPECT_EQ(moved, 16u);
    EXPECT_FALSE(driver.WritePipe(out, buffer, 16, &moved));
    EXPECT_EQ(moved, 10u);
    EXPECT_EQ(printer->received.size(), 26u);

    EXPECT_TRUE(driver.ReadPipe(in, buffer, 16, &moved));
    EXPECT_EQ(moved, 16u);
    EXPECT_FALSE(driver.ReadPipe(in, buffer, 16, &moved));
    EXPECT_EQ(moved, 0u);
}

TEST_F(UsbDriverTest, KernelDriverIsDetachedForTheSessionAndGivenBackAfterTheLastHandle) {
    bus->kernelDriverBound = true;
    qv7::DriverHandle device = OpenPrinter();
    ASSERT_NE(device, nullptr);
    qv7::DriverHandle pipe = Pipe("PIPE01");
    ASSERT_NE(pipe, nullptr);
    EXPECT_EQ(bus->steps, (std::vector<std::string>{"open 1-7", "detach 0", "claim 0"}));

    driver.Close(device);
    EXPECT_EQ(bus->steps.size(), 3u) << "the open pipe still needs the interface";
    driver.Close(pipe);
    EXPECT_EQ(bus->steps,
              (std::vector<std::string>{"open 1-7", "detach 0", "claim 0", "release 0", "attach 0", "close"}));
    EXPECT_TRUE(bus->kernelDriverBound);
}

TEST_F(UsbDriverTest, RefusedClaimLeavesTheDeviceAsItWas) {
    bus->kernelDriverBound = true;
    bus->claimError = EBUSY;
    EXPECT_EQ(OpenPrinter(), nullptr);
    EXPECT_EQ(bus->steps,
              (std::vector<std::string>{"open 1-7", "detach 0", "claim 0 refused", "attach 0", "close"}));
    EXPECT_TRUE(bus->kernelDriverBound);

    uint32_t errorNumber = 0;
    EXPECT_EQ(Pipe("PIPE00", &errorNumber), nullptr);
    EXPECT_EQ(errorNumber, static_cast<uint32_t>(EBUSY));
}

TEST_F(UsbDriverTest, PipeWithoutItsEndpointIsNotFound) {
    bus->hideBulkIn = true;
    ASSERT_NE(OpenPrinter(), nullptr);
    uint32_t errorNumber = 0;
    EXPECT_EQ(Pipe("PIPE00", &errorNumber), nullptr);
    EXPECT_EQ(errorNumber, static_cast<uint32_t>(ENOENT));
    EXPECT_NE(Pipe("PIPE01"), nullptr);
}

}  // namespace
