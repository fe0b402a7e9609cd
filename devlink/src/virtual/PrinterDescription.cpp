#include "PrinterDescription.h"

#include "SettingLines.h"

namespace qv7::virtualprinter {

namespace {

bool IsTypeName(const std::string& name) {
    if (name.empty() || name.size() > 3) return false;
    for (char c : name) {
        const bool letterOrDigit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!letterOrDigit) return false;
    }
    return true;
}

bool ParseType(const SettingLine& line, PrinterDescription* description, std::string* error) {
    if (line.words.size() != 3) {
        *error = LineError(line, "type takes a name and a slot count");
        return false;
    }
    const std::string& name = line.words[1];
    if (!IsTypeName(name)) {
        *error = LineError(line, "type name '" + name + "' is not 1 to 3 letters or digits");
        return false;
    }
    for (const FileTypeDescription& type : description->types) {
        if (type.name == name) {
            *error = LineError(line, "type " + name + " is given twice");
            return false;
        }
    }
    uint32_t slots = 0;
    if (!ParseNumber(line.words[2], 1, kMostSlots, &slots)) {
        *error = LineError(line, "slot count '" + line.words[2] + "' is not a number from 1 to " +
                                     std::to_string(kMostSlots));
        return false;
    }
    if (description->types.size() == kMostTypes) {
        *error = LineError(line, "more than " + std::to_string(kMostTypes) + " types");
        return false;
    }
    description->types.push_back(FileTypeDescription{name, static_cast<uint16_t>(slots)});
    return true;
}

}  // namespace

bool ParsePrinterDescription(const std::string& text, PrinterDescription* description, std::string* error) {
    PrinterDescription parsed;
    bool versionSeen = false;
    for (const SettingLine& line : SplitSettingLines(text)) {
        const std::string& setting = line.words[0];
        if (setting == "driver-version") {
            if (versionSeen) {
                *error = LineError(line, "driver-version is given twice");
                return false;
            }
            if (line.words.size() != 2 || !ParseNumber(line.words[1], 0, UINT32_MAX, &parsed.driverVersion)) {
                *error = LineError(line, "driver-version takes one number from 0 to 4294967295");
                return false;
            }
            versionSeen = true;
        } else if (setting == "type") {
            if (!ParseType(line, &parsed, error)) return false;
        } else {
            *error = LineError(line, "unknown setting '" + setting + "'");
            return false;
        }
    }
    if (!versionSeen) {
        *error = "no driver-version line";
        return false;
    }
    if (parsed.types.empty()) {
        *error = "no type line";
        return false;
    }
    *description = std::move(parsed);
    return true;
}

std::string FormatPrinterDescription(const PrinterDescription& description) {
    std::string text = "# A virtual QV7E printer. File types in device order: type NAME SLOTS.\n";
    text += "driver-version " + std::to_string(description.driverVersion) + "\n";
    for (const FileTypeDescription& type : description.types) {
        text += "type " + type.name + " " + std::to_string(type.slotCount) + "\n";
    }
    return text;
}

}  // namespace qv7::virtualprinter
