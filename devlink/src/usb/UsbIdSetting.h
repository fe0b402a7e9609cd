// Which USB ids the printer answers to. The maker's ids are not known to us,
// so a placeholder stands in until the user names the real ones in
// QUILLORY_USB_ID=vvvv:pppp.
#ifndef QV7_USB_ID_SETTING_H
#define QV7_USB_ID_SETTING_H

#include <optional>
#include <string>

#include "UsbTransport.h"

namespace qv7 {

// Vendor 0xFFFF belongs to no vendor: nothing on a real bus should answer to
// it by accident.
constexpr UsbIds kPlaceholderUsbIds{0xFFFF, 0x07E0};

// "vvvv:pppp", each side one to four hex digits. Nothing for anything else.
std::optional<UsbIds> ParseUsbIds(const std::string& text);

// The ids named by QUILLORY_USB_ID, the placeholder when it is unset or
// empty, nothing when it is malformed.
std::optional<UsbIds> UsbIdsFromEnvironment();

}  // namespace qv7

#endif
