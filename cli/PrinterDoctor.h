// qv7 doctor's checks: what stands between the program and the printer, in
// the order a connection meets it, each with what to do about it. The usb
// checks go through a UsbTransport, so tests put a misbehaving bus behind them.
#ifndef QV7_CLI_PRINTER_DOCTOR_H
#define QV7_CLI_PRINTER_DOCTOR_H

#include <memory>
#include <string>
#include <vector>

#include "UsbIdSetting.h"
#include "UsbTransport.h"

namespace qv7cli {

struct DoctorCheck {
    std::string check;   // one word: "ids", "bus", "permission", ...
    bool ok = false;
    std::string detail;  // what was found, or what is wrong
    std::string fix;     // what to type or do; empty when ok
};

struct DoctorReport {
    std::vector<DoctorCheck> checks;
    // Every check passed: the printer can be used.
    bool Usable() const;
};

struct UsbDoctorSetup {
    std::shared_ptr<qv7::UsbTransport> transport;
    qv7::UsbIdSetting ids;                 // the ids looked for, and where they came from
    std::vector<std::string> ruleFolders;  // where udev reads rules
};

// The folders udev reads its rules from, in its own order.
std::vector<std::string> UdevRuleFolders();

// The first rule file in the folders that gives access to a device with
// these ids; empty when there is none.
std::string FindAccessRule(const std::vector<std::string>& folders, qv7::UsbIds ids);

DoctorReport DiagnoseUsb(const UsbDoctorSetup& setup);
DoctorReport DiagnoseVirtual(const std::string& folder);

}  // namespace qv7cli

#endif
