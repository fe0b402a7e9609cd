#include "UsbDriver.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "UsbRequests.h"

namespace qv7 {

namespace {

// A control code's function number becomes bRequest; what travels in each
// direction follows from what the code carries.
struct VendorRequest {
    uint32_t controlCode;
    bool sendsBlock;  // data stage OUT with the input bytes
    bool takesReply;  // then a data stage IN for the output bytes
};

constexpr VendorRequest kVendorRequests[] = {
    {IOCTL_GET_VERSION, false, true},   // driver version
    {IOCTL_GIVE_COMMAND, true, false},  // command without a reply
    {IOCTL_GET_COMMAND, true, true},    // command with a reply: the block, then the reply
};

// Devices plugged in and out, narrowed to those with the printer's ids: any
// other device (a mouse, a stick) is no news to a program showing the printer.
class PrinterPlugWatch final : public PlugWatch {
public:
    PrinterPlugWatch(std::unique_ptr<UsbPlugEvents> events, UsbIds ids) : events_(std::move(events)), ids_(ids) {}

    std::vector<int> WaitHandles() const override { return events_->WaitHandles(); }
    bool TakeChanges() override {
        const std::vector<UsbIds> changed = events_->Collect();
        return std::find(changed.begin(), changed.end(), ids_) != changed.end();
    }

private:
    std::unique_ptr<UsbPlugEvents> events_;
    UsbIds ids_;
};

const VendorRequest* FindVendorRequest(uint32_t controlCode) {
    for (const VendorRequest& request : kVendorRequests) {
        if (request.controlCode == controlCode) return &request;
    }
    return nullptr;
}

constexpr uint32_t kLongestControlData = 0xFFFF;
// An endpoint that reports no packet size is read in pieces of the largest
// bulk packet any speed has, a whole number of every smaller one.
constexpr uint16_t kLargestBulkPacket = 1024;

uint16_t PacketSize(const UsbEndpoint& endpoint) {
    const uint16_t size = endpoint.maxPacketSize & kUsbPacketSizeMask;
    return size ? size : kLargestBulkPacket;
}

}  // namespace

UsbDriver::UsbDriver(std::shared_ptr<UsbTransport> transport, std::optional<UsbIds> ids)
    : transport_(std::move(transport)), ids_(ids) {}

FindResult UsbDriver::FindDevice() {
    if (!ids_ || transport_->Start() != 0) return FindResult{FindStep::NoInterfaceClass, {}};
    std::vector<UsbAddress> found;
    if (transport_->List(*ids_, &found) != 0) return FindResult{FindStep::NoInterfaceClass, {}};
    if (found.empty()) return FindResult{FindStep::NoDevice, {}};
    return FindResult{FindStep::Found, FormatUsbDevicePath(found.front())};
}

DriverHandle UsbDriver::OpenDevice(const std::string& path) {
    const std::optional<UsbAddress> at = ParseUsbDevicePath(path);
    if (!at) return nullptr;
    std::shared_ptr<UsbSession> session;
    const int error = SessionAt(*at, &session);
    // A claim refused as busy means another program has the printer.
    heldElsewhere_ = error == EBUSY;
    if (error != 0) return nullptr;
    return Keep(Handle{std::move(session), std::nullopt, UsbEndpoint{}, kUsbDefaultPipeTimeoutMs, {}, 0, false});
}

bool UsbDriver::Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                        uint8_t* output, uint32_t outputLength, uint32_t* returned) {
    *returned = 0;
    Handle* handle = DeviceHandle(device);
    const VendorRequest* request = FindVendorRequest(controlCode);
    if (!handle || !request) return false;
    UsbDevice& usb = handle->session->Device();
    const uint8_t number = UsbRequestOf(controlCode);

    if (request->sendsBlock) {
        if (inputLength > kLongestControlData || (inputLength > 0 && !input)) return false;
        const UsbSetup setup{kUsbVendorOut, number, 0, kPrinterInterface, static_cast<uint16_t>(inputLength)};
        uint32_t sent = 0;
        if (usb.ControlWrite(setup, input, kUsbControlTimeoutMs, &sent) != 0 || sent != inputLength) return false;
    }
    if (request->takesReply) {
        if (outputLength > kLongestControlData || (outputLength > 0 && !output)) return false;
        const UsbSetup setup{kUsbVendorIn, number, 0, kPrinterInterface, static_cast<uint16_t>(outputLength)};
        uint32_t received = 0;
        const int error = usb.ControlRead(setup, output, kUsbControlTimeoutMs, &received);
        // A short reply is not a failed request: the caller compares the count.
        *returned = received;
        if (error != 0) return false;
    }
    return true;
}

DriverHandle UsbDriver::OpenPipe(const std::string& pipePath, uint32_t* errorNumber) {
    *errorNumber = 0;
    const std::optional<UsbPipePath> parsed = ParseUsbPipePath(pipePath);
    if (!parsed) {
        *errorNumber = ENOENT;
        return nullptr;
    }
    std::shared_ptr<UsbSession> session;
    if (const int error = SessionAt(parsed->device, &session)) {
        *errorNumber = static_cast<uint32_t>(error);
        return nullptr;
    }
    const std::optional<UsbEndpoint> endpoint = session->Endpoint(parsed->pipe);
    if (!endpoint) {
        *errorNumber = ENOENT;
        return nullptr;
    }
    return Keep(Handle{std::move(session), parsed->pipe, *endpoint, kUsbDefaultPipeTimeoutMs, {}, 0, false});
}

// A pipe carries one direction, so of the five values only that direction's
// constant applies; a per-byte multiplier means nothing for a single bulk
// transfer. 0 means no limit.
void UsbDriver::SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) {
    if (Handle* in = PipeHandle(pipe, UsbPipe::In)) in->timeoutMs = timeouts.readTotalConstant;
    if (Handle* out = PipeHandle(pipe, UsbPipe::Out)) out->timeoutMs = timeouts.writeTotalConstant;
}

bool UsbDriver::WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) {
    *moved = 0;
    Handle* handle = PipeHandle(pipe, UsbPipe::Out);
    if (!handle) return false;
    return handle->session->Device().BulkWrite(handle->endpoint.address, data, length, handle->timeoutMs, moved) ==
           0;
}

// The printer sends whole packets, and a packet bigger than the buffer it
// lands in overflows: so PIPE00 is read a packet at a time into the pipe's
// own buffer, and the library's small reads are served from there. A short
// packet ends a transfer: a read that runs into one returns what it has.
bool UsbDriver::ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) {
    *moved = 0;
    Handle* handle = PipeHandle(pipe, UsbPipe::In);
    if (!handle) return false;
    while (*moved < length) {
        if (handle->served == handle->packet.size()) {
            if (handle->packetWasShort && *moved > 0) break;
            if (!ReceivePacket(*handle)) return false;
        }
        const size_t take = std::min<size_t>(length - *moved, handle->packet.size() - handle->served);
        std::copy_n(handle->packet.begin() + static_cast<std::ptrdiff_t>(handle->served), take, data + *moved);
        handle->served += take;
        *moved += static_cast<uint32_t>(take);
        if (handle->packetWasShort && handle->served == handle->packet.size()) break;
    }
    return true;
}

bool UsbDriver::ReceivePacket(Handle& handle) {
    const uint16_t size = PacketSize(handle.endpoint);
    handle.packet.resize(size);
    uint32_t received = 0;
    const int error =
        handle.session->Device().BulkRead(handle.endpoint.address, handle.packet.data(), size, handle.timeoutMs,
                                          &received);
    handle.packet.resize(error == 0 ? received : 0);
    handle.served = 0;
    handle.packetWasShort = received < size;
    return error == 0;
}

void UsbDriver::Close(DriverHandle handle) {
    handles_.erase(handle);
}

// The device handle and its pipes share one claim of the interface; a pipe
// opened without the device opens a session of its own.
int UsbDriver::SessionAt(UsbAddress at, std::shared_ptr<UsbSession>* out) {
    const auto key = std::make_pair(at.bus, at.address);
    if (std::shared_ptr<UsbSession> open = sessions_[key].lock()) {
        *out = std::move(open);
        return 0;
    }
    if (!ids_) return ENODEV;
    if (const int error = transport_->Start()) return error;
    if (const int error = UsbSession::Open(*transport_, at, *ids_, out)) return error;
    sessions_[key] = *out;
    return 0;
}

std::unique_ptr<PlugWatch> UsbDriver::WatchPlugging() {
    if (!ids_) return nullptr;
    std::unique_ptr<UsbPlugEvents> events = transport_->WatchPlugging();
    if (!events) return nullptr;
    return std::make_unique<PrinterPlugWatch>(std::move(events), *ids_);
}

DriverHandle UsbDriver::Keep(Handle handle) {
    auto owned = std::make_unique<Handle>(std::move(handle));
    DriverHandle key = owned.get();
    handles_.emplace(key, std::move(owned));
    return key;
}

UsbDriver::Handle* UsbDriver::DeviceHandle(DriverHandle handle) {
    const auto found = handles_.find(handle);
    if (found == handles_.end() || found->second->pipe) return nullptr;
    return found->second.get();
}

UsbDriver::Handle* UsbDriver::PipeHandle(DriverHandle handle, UsbPipe pipe) {
    const auto found = handles_.find(handle);
    if (found == handles_.end() || found->second->pipe != pipe) return nullptr;
    return found->second.get();
}

}  // namespace qv7
