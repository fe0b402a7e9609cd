#include "UsbIdSetting.h"

#include <cstdio>
#include <cstdlib>

#include "SettingsFiles.h"

namespace qv7 {

namespace {

constexpr char kNotIds[] = "it is not vvvv:pppp, two hex numbers of one to four digits";

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

UsbIdSetting Given(UsbIdSource source, std::string file, std::string written, std::optional<UsbIds> ids,
                   std::string problem) {
    if (!ids && problem.empty()) problem = kNotIds;
    return UsbIdSetting{source, std::move(file), std::move(written), ids, std::move(problem)};
}

// UsbId in one settings file; nothing when the file does not hold one.
std::optional<UsbIdSetting> FromFile(UsbIdSource source, const std::string& file, const char* section) {
    const IniValue value = ReadIniValue(file, section, kUsbIdKey);
    switch (value.state) {
    case IniValue::State::Absent: return std::nullopt;
    case IniValue::State::Malformed: return Given(source, file, value.written, std::nullopt, value.problem);
    case IniValue::State::Found: break;
    }
    // An empty value says nothing, as an empty QUILLORY_USB_ID does.
    if (value.text.empty()) return std::nullopt;
    return Given(source, file, value.written, ParseUsbIds(value.text), {});
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

std::string FormatUsbIds(UsbIds ids) {
    char text[10];
    std::snprintf(text, sizeof text, "%04x:%04x", static_cast<unsigned>(ids.vendor), static_cast<unsigned>(ids.product));
    return text;
}

UsbIdSetting ReadUsbIdSetting() {
    const char* variable = std::getenv(kUsbIdVariable);
    if (variable && *variable) return Given(UsbIdSource::Environment, {}, variable, ParseUsbIds(variable), {});
    if (auto setting = FromFile(UsbIdSource::UserSettings, UserSettingsFile(), kUserSettingsSection)) return *setting;
    const std::string machineFile = MachineSettingsFile();
    if (!machineFile.empty()) {
        if (auto setting = FromFile(UsbIdSource::MachineSettings, machineFile, kTopLevelSection)) return *setting;
    }
    return UsbIdSetting{};
}

}  // namespace qv7
