// Which USB ids the printer answers to. The maker's ids are not known to us,
// so a placeholder stands in until the user names the real ones: as UsbId in
// the machine-wide settings file, in their own settings, or in
// QUILLORY_USB_ID, the later of these winning over the earlier.
#ifndef QV7_USB_ID_SETTING_H
#define QV7_USB_ID_SETTING_H

#include <optional>
#include <string>

#include "UsbTransport.h"

namespace qv7 {

// Vendor 0xFFFF belongs to no vendor: nothing on a real bus should answer to
// it by accident.
constexpr UsbIds kPlaceholderUsbIds{0xFFFF, 0x07E0};

// The value's name in both settings files ("UsbId=1a2b:3c4d"): among the top-
// level keys of the machine-wide file, in the section "Settings" of the user's.
inline constexpr char kUsbIdKey[] = "UsbId";
inline constexpr char kUserSettingsSection[] = "Settings";
// The environment's word on the ids; it wins over both files.
inline constexpr char kUsbIdVariable[] = "QUILLORY_USB_ID";

// "vvvv:pppp", each side one to four hex digits. Nothing for anything else.
std::optional<UsbIds> ParseUsbIds(const std::string& text);

// The ids as "1a2b:3c4d".
std::string FormatUsbIds(UsbIds ids);

enum class UsbIdSource { Placeholder, MachineSettings, UserSettings, Environment };

struct UsbIdSetting {
    UsbIdSource source = UsbIdSource::Placeholder;
    std::string file;     // the settings file the value came from; empty for the others
    std::string written;  // the value as the user wrote it
    // Nothing when the value cannot be used; problem then says why.
    std::optional<UsbIds> ids = kPlaceholderUsbIds;
    std::string problem;
};

// The ids a connection looks for, read afresh: QUILLORY_USB_ID when it is set
// and not empty, else UsbId in the user's settings, else UsbId in the
// machine-wide settings file, else the placeholder. The first value found is
// taken even when it cannot be used: a printer looked for by ids other than
// the ones the user wrote would only puzzle them.
UsbIdSetting ReadUsbIdSetting();

}  // namespace qv7

#endif
