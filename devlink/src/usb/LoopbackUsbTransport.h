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

class LoopbackUsbTransport final : public UsbTransport {
public:
    explicit LoopbackUsbTransport(std::shared_ptr<VirtualPrinter> printer, UsbIds ids = kPlaceholderUsbIds);

    int Start() override;
    int List(UsbIds ids, std::vector<UsbAddress>* found) override;
    int Open(UsbAddress at, UsbIds ids, std::unique_ptr<UsbDevice>* out) override;

    // What every opened device shares, as one physical printer would.
    struct Bus {
        std::shared_ptr<VirtualPrinter> printer;
        UsbIds ids;
        bool claimed = false;
    };

private:
    std::shared_ptr<Bus> bus_;
};

}  // namespace qv7

#endif
