// The usb backend over a hostile bus: descriptors, claims, control and bulk
// transfers all answered by the input. Whatever the device does, counts stay
// within what was asked, and once every handle is closed the interface is
// released and any kernel driver taken from it is given back.
#include <cerrno>

#include "HostileInput.h"
#include "UsbDriver.h"
#include "UsbTransport.h"

namespace {

using namespace qv7fuzz;

struct BusState {
    int claims = 0;
    int detached = 0;
};

constexpr int kErrors[] = {EIO, ETIMEDOUT, EPIPE, EBUSY, ENODEV, EOVERFLOW, EACCES};

// Bytes from 0xF0 up are failures; anything lower is success.
int Answer(HostileInput& input) {
    const uint8_t byte = input.Byte();
    return byte < 0xF0 ? 0 : kErrors[(byte - 0xF0) % (sizeof kErrors / sizeof kErrors[0])];
}

uint32_t Count(HostileInput& input, uint32_t most) {
    const uint32_t wanted = input.Byte() | (input.Byte() << 8);
    return wanted < most ? wanted : most;
}

class HostileDevice final : public qv7::UsbDevice {
public:
    HostileDevice(HostileInput& input, BusState& bus) : input_(input), bus_(bus) {}

    int DescribeInterface(uint8_t number, qv7::UsbInterface* out) override {
        out->number = number;
        out->interfaceClass = input_.Byte();
        out->endpoints.resize(input_.Byte() % 5);
        for (qv7::UsbEndpoint& endpoint : out->endpoints) {
            endpoint.address = input_.Byte();
            endpoint.attributes = input_.Byte();
            endpoint.maxPacketSize = static_cast<uint16_t>(input_.Byte() | (input_.Byte() << 8));
        }
        return Answer(input_);
    }
    int KernelDriverActive(uint8_t, bool* active) override {
        *active = input_.Byte() & 1;
        return Answer(input_);
    }
    int DetachKernelDriver(uint8_t) override {
        const int error = Answer(input_);
        if (!error) ++bus_.detached;
        return error;
    }
    int AttachKernelDriver(uint8_t) override {
        --bus_.detached;
        return Answer(input_);
    }
    int ClaimInterface(uint8_t) override {
        const int error = Answer(input_);
        if (!error) ++bus_.claims;
        return error;
    }
    int ReleaseInterface(uint8_t) override {
        --bus_.claims;
        return Answer(input_);
    }
    int ControlWrite(const qv7::UsbSetup& setup, const uint8_t*, unsigned, uint32_t* transferred) override {
        *transferred = Count(input_, setup.length);
        return Answer(input_);
    }
    int ControlRead(const qv7::UsbSetup& setup, uint8_t* data, unsigned, uint32_t* transferred) override {
        *transferred = Count(input_, setup.length);
        input_.Fill(data, *transferred);
        return Answer(input_);
    }
    int BulkWrite(uint8_t, const uint8_t*, uint32_t length, unsigned, uint32_t* transferred) override {
        *transferred = Count(input_, length);
        return Answer(input_);
    }
    int BulkRead(uint8_t, uint8_t* data, uint32_t length, unsigned, uint32_t* transferred) override {
        *transferred = Count(input_, length);
        input_.Fill(data, *transferred);
        return Answer(input_);
    }
    int ClearHalt(uint8_t) override { return Answer(input_); }

private:
    HostileInput& input_;
    BusState& bus_;
};

class HostileTransport final : public qv7::UsbTransport {
public:
    HostileTransport(HostileInput& input, BusState& bus) : input_(input), bus_(bus) {}

    int Start() override { return Answer(input_); }
    int List(qv7::UsbIds, std::vector<qv7::UsbAddress>* found) override {
        found->resize(input_.Byte() % 3);
        for (qv7::UsbAddress& at : *found) at = {input_.Byte(), input_.Byte()};
        return Answer(input_);
    }
    int Open(qv7::UsbAddress, qv7::UsbIds, std::unique_ptr<qv7::UsbDevice>* out) override {
        if (const int error = Answer(input_)) return error;
        out->reset(new HostileDevice(input_, bus_));
        return 0;
    }
    // The driver never surveys the bus; only qv7 doctor does.
    int Survey(std::vector<qv7::UsbDeviceSummary>* found) override {
        found->clear();
        return 0;
    }

private:
    HostileInput& input_;
    BusState& bus_;
};

constexpr uint32_t kCodes[] = {0x22000C, 0x220010, 0x220014, 0x220018};
const char* const kPipes[] = {"\\PIPE00", "\\PIPE01", "\\PIPE02"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HostileInput input(data, size);
    BusState bus;
    {
        qv7::UsbDriver driver(std::make_shared<HostileTransport>(input, bus), qv7::UsbIds{0xFFFF, 0x07E0});
        const qv7::FindResult found = driver.FindDevice();
        if (found.step != qv7::FindStep::Found) return 0;
        std::vector<qv7::DriverHandle> handles;
        if (qv7::DriverHandle device = driver.OpenDevice(found.path)) handles.push_back(device);
        uint8_t buffer[64];
        for (int step = 0; step < 32 && !input.Empty(); ++step) {
            const uint8_t operation = input.Byte() % 6;
            qv7::DriverHandle handle = handles.empty() ? nullptr : handles[input.Byte() % handles.size()];
            const uint32_t length = input.Byte() % sizeof buffer;
            uint32_t count = 0;
            switch (operation) {
            case 0:
                input.Fill(buffer, length);
                driver.Control(handle, kCodes[input.Byte() % 4], buffer, length, buffer, sizeof buffer / 4, &count);
                if (count > sizeof buffer / 4) __builtin_trap();
                break;
            case 1:
                if (qv7::DriverHandle pipe = driver.OpenPipe(found.path + kPipes[input.Byte() % 3], &count)) {
                    handles.push_back(pipe);
                }
                break;
            case 2:
                driver.ReadPipe(handle, buffer, length, &count);
                if (count > length) __builtin_trap();
                break;
            case 3:
                input.Fill(buffer, length);
                driver.WritePipe(handle, buffer, length, &count);
                if (count > length) __builtin_trap();
                break;
            case 4:
                driver.SetPipeTimeouts(handle, qv7::PipeTimeouts{0, 0, input.Byte(), 0, input.Byte()});
                break;
            default:
                if (handle) {
                    driver.Close(handle);
                    handles.erase(std::find(handles.begin(), handles.end(), handle));
                }
                break;
            }
        }
        for (qv7::DriverHandle handle : handles) driver.Close(handle);
        if (bus.claims != 0 || bus.detached != 0) __builtin_trap();
    }
    return 0;
}
