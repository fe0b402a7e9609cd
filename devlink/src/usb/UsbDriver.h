// The driver seam on USB: the printer's interface 0, its bulk IN endpoint as
// PIPE00 and bulk OUT endpoint as PIPE01, the three control codes as vendor
// requests. Everything USB goes through a UsbTransport.
#ifndef QV7_USB_DRIVER_H
#define QV7_USB_DRIVER_H

#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "UsbDevicePath.h"
#include "UsbSession.h"
#include "UsbTransport.h"
#include "qv7/DeviceDriver.h"

namespace qv7 {

// How long a control request may take, and a pipe call until the caller sets
// its own limit: a printer that stops answering must not hang the program.
constexpr unsigned kUsbControlTimeoutMs = 5000;
constexpr unsigned kUsbDefaultPipeTimeoutMs = 5000;

class UsbDriver final : public DeviceDriver {
public:
    // Without ids (the user named ids that could not be read) no device is
    // looked for.
    UsbDriver(std::shared_ptr<UsbTransport> transport, std::optional<UsbIds> ids);

    FindResult FindDevice() override;
    DriverHandle OpenDevice(const std::string& path) override;
    bool Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                 uint8_t* output, uint32_t outputLength, uint32_t* returned) override;
    DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) override;
    void SetPipeTimeouts(DriverHandle pipe, const PipeTimeouts& timeouts) override;
    bool WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) override;
    bool ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override;
    void Close(DriverHandle handle) override;
    bool HeldElsewhere() const override { return heldElsewhere_; }
    // A device with the ids this driver looks for coming or going.
    std::unique_ptr<PlugWatch> WatchPlugging() override;

private:
    // What a DriverHandle of this backend points at: the device itself, or one
    // of its pipes.
    struct Handle {
        std::shared_ptr<UsbSession> session;
        std::optional<UsbPipe> pipe;
        UsbEndpoint endpoint;
        unsigned timeoutMs = kUsbDefaultPipeTimeoutMs;
        // PIPE00 only: the last packet received, of which the library's reads
        // have taken `served` bytes, and whether it was short (the end of a
        // transfer).
        std::vector<uint8_t> packet;
        size_t served = 0;
        bool packetWasShort = false;
    };

    bool ReceivePacket(Handle& handle);

    int SessionAt(UsbAddress at, std::shared_ptr<UsbSession>* out);
    DriverHandle Keep(Handle handle);
    Handle* DeviceHandle(DriverHandle handle);
    Handle* PipeHandle(DriverHandle handle, UsbPipe pipe);

    std::shared_ptr<UsbTransport> transport_;
    std::optional<UsbIds> ids_;
    bool heldElsewhere_ = false;
    std::map<std::pair<uint8_t, uint8_t>, std::weak_ptr<UsbSession>> sessions_;
    // Last, so handles the caller never closed go before the transport.
    std::unordered_map<DriverHandle, std::unique_ptr<Handle>> handles_;
};

}  // namespace qv7

#endif
