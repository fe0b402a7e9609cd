// The backends behind the driver seam, one factory each.
#ifndef QV7_BACKENDS_H
#define QV7_BACKENDS_H

#include <memory>
#include <string>

#include "qv7/DeviceDriver.h"

namespace qv7 {

// The real printer through libusb (usb/).
std::shared_ptr<DeviceDriver> MakeUsbDriver();

// The printer through its own Windows kernel driver (win32/).
std::shared_ptr<DeviceDriver> MakeWin32Driver();

// The emulated printer kept in dir (virtual/).
std::shared_ptr<DeviceDriver> MakeVirtualDriver(const std::string& dir);

// A connection without a trace has no trace problem (TracingDriver.cpp).
void ClearTraceProblem();

}  // namespace qv7

#endif
