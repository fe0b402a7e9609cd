// Paths the usb backend hands out and takes back: "usb:BUS-ADDR" names the
// device where it sits on the bus ("usb:003-007"), and a pipe path is that,
// a backslash and the pipe's name ("usb:003-007\PIPE01"), as the library
// builds it.
#ifndef QV7_USB_DEVICE_PATH_H
#define QV7_USB_DEVICE_PATH_H

#include <optional>
#include <string>

#include "UsbTransport.h"

namespace qv7 {

enum class UsbPipe {
    In,   // "PIPE00": device to host
    Out,  // "PIPE01": host to device
};

struct UsbPipePath {
    UsbAddress device;
    UsbPipe pipe = UsbPipe::In;
};

std::string FormatUsbDevicePath(UsbAddress at);
std::optional<UsbAddress> ParseUsbDevicePath(const std::string& path);
// Nothing when the device part is not ours or the pipe name is unknown.
std::optional<UsbPipePath> ParseUsbPipePath(const std::string& pipePath);

}  // namespace qv7

#endif
