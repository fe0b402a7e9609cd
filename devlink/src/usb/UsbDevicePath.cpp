#include "UsbDevicePath.h"

#include <cstdio>

namespace qv7 {

namespace {

constexpr char kPrefix[] = "usb:";
constexpr size_t kPrefixLength = sizeof kPrefix - 1;

// One to three decimal digits up to 255, read from text at *at onwards.
std::optional<uint8_t> ParseByte(const std::string& text, size_t* at) {
    size_t digits = 0;
    unsigned value = 0;
    while (*at < text.size() && text[*at] >= '0' && text[*at] <= '9' && digits < 3) {
        value = value * 10 + static_cast<unsigned>(text[*at] - '0');
        ++*at;
        ++digits;
    }
    if (digits == 0 || value > 255) return std::nullopt;
    return static_cast<uint8_t>(value);
}

}  // namespace

std::string FormatUsbDevicePath(UsbAddress at) {
    char text[16];
    std::snprintf(text, sizeof text, "usb:%03u-%03u", static_cast<unsigned>(at.bus), static_cast<unsigned>(at.address));
    return text;
}

std::optional<UsbAddress> ParseUsbDevicePath(const std::string& path) {
    if (path.compare(0, kPrefixLength, kPrefix) != 0) return std::nullopt;
    size_t at = kPrefixLength;
    const std::optional<uint8_t> bus = ParseByte(path, &at);
    if (!bus || at >= path.size() || path[at] != '-') return std::nullopt;
    ++at;
    const std::optional<uint8_t> address = ParseByte(path, &at);
    if (!address || at != path.size()) return std::nullopt;
    return UsbAddress{*bus, *address};
}

std::optional<UsbPipePath> ParseUsbPipePath(const std::string& pipePath) {
    const size_t backslash = pipePath.rfind('\\');
    if (backslash == std::string::npos) return std::nullopt;
    const std::optional<UsbAddress> device = ParseUsbDevicePath(pipePath.substr(0, backslash));
    if (!device) return std::nullopt;
    const std::string name = pipePath.substr(backslash + 1);
    if (name == "PIPE00") return UsbPipePath{*device, UsbPipe::In};
    if (name == "PIPE01") return UsbPipePath{*device, UsbPipe::Out};
    return std::nullopt;
}

}  // namespace qv7
