#include "UsbIdSetting.h"

#include <cstdlib>

namespace qv7 {

namespace {

std::optional<uint16_t> ParseHex16(const std::string& digits) {
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    uint16_t value = 0;
    for (const char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = static_cast<uint16_t>(value << 4 | digit);
    }
    return value;
}

}  // namespace

std::optional<UsbIds> ParseUsbIds(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const std::optional<uint16_t> vendor = ParseHex16(text.substr(0, colon));
    const std::optional<uint16_t> product = ParseHex16(text.substr(colon + 1));
    if (!vendor || !product) return std::nullopt;
    return UsbIds{*vendor, *product};
}

std::optional<UsbIds> UsbIdsFromEnvironment() {
    const char* value = std::getenv("QUILLORY_USB_ID");
    if (!value || !*value) return kPlaceholderUsbIds;
    return ParseUsbIds(value);
}

}  // namespace qv7
