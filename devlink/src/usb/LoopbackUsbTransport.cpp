#include "LoopbackUsbTransport.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "UsbRequests.h"

namespace qv7 {

namespace {

class LoopbackDevice final : public UsbDevice {
public:
    explicit LoopbackDevice(std::shared_ptr<LoopbackUsbTransport::Bus> bus) : bus_(std::move(bus)) {}
    ~LoopbackDevice() override {
        if (claimed_) bus_->claimed = false;
    }

    int DescribeInterface(uint8_t interfaceNumber, UsbInterface* out) override {
        if (interfaceNumber != 0) return ENOENT;
        *out = UsbInterface{0,
                            kUsbClassVendorSpecific,
                            {UsbEndpoint{kLoopbackBulkIn, kUsbTransferTypeBulk, bus_->packetSize},
                             UsbEndpoint{kLoopbackBulkOut, kUsbTransferTypeBulk, bus_->packetSize}}};
        return 0;
    }

    // No kernel driver ever binds the emulated printer.
    int KernelDriverActive(uint8_t, bool* active) override {
        *active = false;
        return 0;
    }
    int DetachKernelDriver(uint8_t) override { return ENOENT; }
    int AttachKernelDriver(uint8_t) override { return ENOENT; }

    int ClaimInterface(uint8_t interfaceNumber) override {
        if (interfaceNumber != 0) return ENOENT;
        if (claimed_) return 0;
        if (bus_->claimed) return EBUSY;
        bus_->claimed = claimed_ = true;
        return 0;
    }

    int ReleaseInterface(uint8_t interfaceNumber) override {
        if (interfaceNumber != 0 || !claimed_) return ENOENT;
        bus_->claimed = claimed_ = false;
        return 0;
    }

    // A request the printer does not know, or a block it refuses, stalls the
    // control pipe, as real firmware does.
    int ControlWrite(const UsbSetup& setup, const uint8_t* data, unsigned, uint32_t* transferred) override {
        *transferred = 0;
        if (const int error = Reachable()) return error;
        if (setup.requestType != kUsbVendorOut || setup.index != 0) return EPIPE;
        VirtualPrinter& printer = *bus_->printer;
        bool taken = false;
        switch (setup.request) {
        case kUsbGiveRequest: taken = printer.TakeGiveCommand(data, setup.length); break;
        case kUsbGetRequest: taken = printer.TakeGetCommand(data, setup.length); break;
        default: return EPIPE;
        }
        if (!taken) return EPIPE;
        *transferred = setup.length;
        return 0;
    }

    // A device cannot send more than wLength in the data stage: a longer
    // reply arrives cut to it.
    int ControlRead(const UsbSetup& setup, uint8_t* data, unsigned, uint32_t* transferred) override {
        *transferred = 0;
        if (const int error = Reachable()) return error;
        if (setup.requestType != kUsbVendorIn || setup.index != 0) return EPIPE;
        VirtualPrinter& printer = *bus_->printer;
        switch (setup.request) {
        case kUsbGetRequest: {
            const uint32_t given = printer.ReadReply(data, setup.length);
            *transferred = std::min<uint32_t>(given, setup.length);
            return 0;
        }
        case kUsbVersionRequest: {
            const uint32_t version = printer.DriverVersion();
            const uint8_t bytes[4] = {static_cast<uint8_t>(version), static_cast<uint8_t>(version >> 8),
                                      static_cast<uint8_t>(version >> 16), static_cast<uint8_t>(version >> 24)};
            *transferred = std::min<uint32_t>(sizeof bytes, setup.length);
            std::copy_n(bytes, *transferred, data);
            return 0;
        }
        default:
            return EPIPE;
        }
    }

    // A device that takes no more keeps NAKing until the host gives up.
    int BulkWrite(uint8_t endpoint, const uint8_t* data, uint32_t length, unsigned,
                  uint32_t* transferred) override {
        *transferred = 0;
        if (const int error = Reachable()) return error;
        if (endpoint != kLoopbackBulkOut) return ENOENT;
        if (bus_->outHalted) return EPIPE;
        *transferred = bus_->printer->WriteBulk(data, length);
        return *transferred < length ? ETIMEDOUT : 0;
    }

    // The printer sends what it has in packets of the endpoint's size. A
    // packet that does not fit the room left overflows and is lost; a short
    // one ends the transfer; no packet at all is a timeout.
    int BulkRead(uint8_t endpoint, uint8_t* data, uint32_t length, unsigned, uint32_t* transferred) override {
        *transferred = 0;
        if (const int error = Reachable()) return error;
        if (endpoint != kLoopbackBulkIn) return ENOENT;
        if (bus_->inHalted) return EPIPE;
        std::vector<uint8_t> packet(bus_->packetSize);
        while (*transferred < length) {
            const uint32_t sent = bus_->printer->ReadBulk(packet.data(), bus_->packetSize);
            if (sent > length - *transferred) return EOVERFLOW;
            std::copy_n(packet.begin(), sent, data + *transferred);
            *transferred += sent;
            if (sent < bus_->packetSize) break;
        }
        return *transferred == 0 && length > 0 ? ETIMEDOUT : 0;
    }

    int ClearHalt(uint8_t endpoint) override {
        if (const int error = Reachable()) return error;
        if (endpoint == kLoopbackBulkIn) {
            bus_->inHalted = false;
        } else if (endpoint == kLoopbackBulkOut) {
            bus_->outHalted = false;
        } else {
            return ENOENT;
        }
        return 0;
    }

private:
    // Transfers need the interface claimed, and a printer that has gone away
    // answers nothing.
    int Reachable() const {
        if (!bus_->printer->IsPresent()) return ENODEV;
        return claimed_ ? 0 : EACCES;
    }

    std::shared_ptr<LoopbackUsbTransport::Bus> bus_;
    bool claimed_ = false;
};

}  // namespace

LoopbackUsbTransport::LoopbackUsbTransport(std::shared_ptr<VirtualPrinter> printer, UsbIds ids, uint16_t packetSize)
    : bus_(std::make_shared<Bus>(Bus{std::move(printer), ids, packetSize, false, false, false})) {}

void LoopbackUsbTransport::Halt(uint8_t endpoint) {
    if (endpoint == kLoopbackBulkIn) bus_->inHalted = true;
    if (endpoint == kLoopbackBulkOut) bus_->outHalted = true;
}

int LoopbackUsbTransport::Start() {
    return 0;
}

int LoopbackUsbTransport::List(UsbIds ids, std::vector<UsbAddress>* found) {
    found->clear();
    if (bus_->printer->IsPresent() && ids == bus_->ids) found->push_back(kLoopbackAddress);
    return 0;
}

int LoopbackUsbTransport::Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) {
    out->reset();
    if (!bus_->printer->IsPresent() || !(at == kLoopbackAddress) || !(ids == bus_->ids)) return ENODEV;
    *out = std::make_unique<LoopbackDevice>(bus_);
    return 0;
}

int LoopbackUsbTransport::Survey(std::vector<UsbDeviceSummary>* found) {
    found->clear();
    if (!bus_->printer->IsPresent()) return 0;
    UsbDeviceSummary printer{kLoopbackAddress, bus_->ids, kLoopbackProductText, {UsbInterface{}}};
    LoopbackDevice(bus_).DescribeInterface(0, &printer.interfaces.front());
    found->push_back(std::move(printer));
    return 0;
}

}  // namespace qv7
