// The driver's three control codes as USB vendor requests on interface 0:
// bRequest is the code's function number (0x22000C -> 3, 0x220010 -> 4,
// 0x220014 -> 5). The host and the loopback both speak through these.
#ifndef QV7_USB_REQUESTS_H
#define QV7_USB_REQUESTS_H

#include <cstdint>

#include "QV7_Sys_API.h"
#include "UsbTransport.h"

namespace qv7 {

constexpr uint8_t UsbRequestOf(uint32_t controlCode) {
    return static_cast<uint8_t>((controlCode >> 2) & 0xFFF);
}

constexpr uint8_t kUsbVersionRequest = UsbRequestOf(IOCTL_GET_VERSION);
constexpr uint8_t kUsbGiveRequest = UsbRequestOf(IOCTL_GIVE_COMMAND);
constexpr uint8_t kUsbGetRequest = UsbRequestOf(IOCTL_GET_COMMAND);

// Request types of the two data-stage directions.
constexpr uint8_t kUsbVendorOut = kUsbTypeVendor | kUsbRecipientInterface;
constexpr uint8_t kUsbVendorIn = kUsbDirectionIn | kUsbTypeVendor | kUsbRecipientInterface;

}  // namespace qv7

#endif
