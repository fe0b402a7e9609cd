// A USB transport with the emulated printer at the far end: it decodes the
// vendor requests and bulk transfers the usb backend puts on the "bus" and
// hands them to a VirtualPrinter, as the printer's own firmware would. Tests
// and demos use it to drive the whole usb backend without hardware.
#ifndef QV7_LOOPBACK_USB_TRANSPORT_H
#define QV7_LOOPBACK_USB_TRANSPORT_H

#include <memory>

#include "UsbIdSetting.h"
#include "UsbTransport.h"
#include "qv7/VirtualPrinter.h"

namespace qv7 {

// Where the emulated printer shows up, and its endpoints.
constexpr UsbAddress kLoopbackAddress{1, 7};
constexpr uint8_t kLoopbackBulkIn = 0x81;
constexpr uint8_t kLoopbackBulkOut = 0x02;
constexpr char kLoopbackProductText[] = "QV7E (emulated)";

// Bulk packet sizes of a full-speed and a high-speed printer.
constexpr uint16_t kFullSpeedBulkPacket = 64;
constexpr uint16_t kHighSpeedBulkPacket = 512;

class LoopbackUsbTransport final : public UsbTransport {
public:
    // The printer's bulk endpoints move packets of packetSize bytes, as a
    // real one does: an IN read with less room than the packet overflows.
    explicit LoopbackUsbTransport(std::shared_ptr<VirtualPrinter> printer, UsbIds ids = kPlaceholderUsbIds,
                                  uint16_t packetSize = kFullSpeedBulkPacket);

    int Start() override;
    int List(UsbIds ids, std::vector<UsbAddress>* found) override;
    int Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) override;
    int Survey(std::vector<UsbDeviceSummary>* found) override;

    // Stalls an endpoint, as a transfer broken off by a killed program can
    // leave it: every transfer on it fails until the host clears the halt.
    void Halt(uint8_t endpoint);

    // What every opened device shares, as one physical printer would.
    struct Bus {
        std::shared_ptr<VirtualPrinter> printer;
        UsbIds ids;
        uint16_t packetSize = kFullSpeedBulkPacket;
        bool claimed = false;
        bool inHalted = false;
        bool outHalted = false;
    };

private:
    std::shared_ptr<Bus> bus_;
};

}  // namespace qv7

#endif
