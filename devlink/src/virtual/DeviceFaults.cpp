#include "DeviceFaults.h"

#include "SettingLines.h"

namespace qv7::virtualprinter {

namespace {

bool IsReplyBearing(uint32_t code) {
    return code == 2 || (code >= 4 && code <= 9);
}

// "short-read K N" / "short-write K N".
bool ParseShortCall(const SettingLine& line, uint32_t* call, uint32_t* bytes, std::string* error) {
    if (line.words.size() != 3) {
        *error = LineError(line, line.words[0] + " takes a call number and a byte count");
        return false;
    }
    if (*call != 0) {
        *error = LineError(line, line.words[0] + " is given twice");
        return false;
    }
    if (!ParseNumber(line.words[1], 1, UINT32_MAX, call)) {
        *error = LineError(line, "call number '" + line.words[1] + "' is not a number from 1 up");
        return false;
    }
    if (!ParseNumber(line.words[2], 0, 65535, bytes)) {
        *call = 0;
        *error = LineError(line, "byte count '" + line.words[2] + "' is not a number from 0 to 65535");
        return false;
    }
    return true;
}

bool ParseReplySize(const SettingLine& line, DeviceFaults* faults, std::string* error) {
    uint32_t code = 0;
    uint32_t bytes = 0;
    if (line.words.size() != 3) {
        *error = LineError(line, "reply-size takes a command code and a byte count");
        return false;
    }
    if (!ParseNumber(line.words[1], 1, 9, &code) || !IsReplyBearing(code)) {
        *error = LineError(line, "command code '" + line.words[1] + "' is not one with a reply (2, 4 to 9)");
        return false;
    }
    if (!ParseNumber(line.words[2], 0, 64, &bytes)) {
        *error = LineError(line, "byte count '" + line.words[2] + "' is not a number from 0 to 64");
        return false;
    }
    faults->replySize[code] = bytes;
    return true;
}

bool ParseSwitch(const SettingLine& line, bool* value, std::string* error) {
    if (line.words.size() != 1) {
        *error = LineError(line, line.words[0] + " takes nothing after it");
        return false;
    }
    *value = true;
    return true;
}

}  // namespace

bool ParseFaults(const std::string& text, DeviceFaults* faults, std::string* error) {
    DeviceFaults parsed;
    for (const SettingLine& line : SplitSettingLines(text)) {
        const std::string& fault = line.words[0];
        bool ok = false;
        if (fault == "no-device") {
            ok = ParseSwitch(line, &parsed.noDevice, error);
        } else if (fault == "reply-size") {
            ok = ParseReplySize(line, &parsed, error);
        } else if (fault == "short-read") {
            ok = ParseShortCall(line, &parsed.shortReadCall, &parsed.shortReadBytes, error);
        } else if (fault == "short-write") {
            ok = ParseShortCall(line, &parsed.shortWriteCall, &parsed.shortWriteBytes, error);
        } else if (fault == "upload-busy-forever") {
            ok = ParseSwitch(line, &parsed.uploadBusyForever, error);
        } else if (fault == "download-busy-forever") {
            ok = ParseSwitch(line, &parsed.downloadBusyForever, error);
        } else if (fault == "upload-fails") {
            ok = ParseSwitch(line, &parsed.uploadFails, error);
        } else if (fault == "download-fails") {
            ok = ParseSwitch(line, &parsed.downloadFails, error);
        } else if (fault == "old-firmware") {
            ok = ParseSwitch(line, &parsed.oldFirmware, error);
        } else {
            *error = LineError(line, "unknown fault '" + fault + "'");
        }
        if (!ok) return false;
    }
    *faults = parsed;
    return true;
}

}  // namespace qv7::virtualprinter
