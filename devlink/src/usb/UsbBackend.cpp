// The usb backend as the library's device selection makes it: libusb, and
// the ids the user named in the settings or the environment, or the
// placeholder. Read afresh per connection.
#include "Backends.h"
#include "LibusbTransport.h"
#include "UsbDriver.h"
#include "UsbIdSetting.h"

namespace qv7 {

std::shared_ptr<DeviceDriver> MakeUsbDriver() {
    return std::make_shared<UsbDriver>(std::make_shared<LibusbTransport>(), ReadUsbIdSetting().ids);
}

}  // namespace qv7
