#include "PrinterDoctor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "QV7_Sys_API.h"
#include "SettingsFiles.h"
#include "UdevRule.h"
#include "UsbDevicePath.h"
#include "UsbDriver.h"
#include "UsbIdSetting.h"
#include "UsbSession.h"
#include "qv7/DeviceDriver.h"
#include "qv7/VirtualPrinter.h"

namespace qv7cli {

namespace {

namespace fs = std::filesystem;

const char kPrinterMode[] =
    "switch the printer on, press SETUP and choose PC Interface > Files / Printing";

std::string IdsText(qv7::UsbIds ids) {
    return qv7::FormatUsbIds(ids);
}

// How a user whose printer's ids are not set finds and sets them.
std::string FindIds() {
    return std::string("qv7 doctor --candidates lists the devices that may be the printer; put ") + qv7::kUsbIdKey +
           "=vvvv:pppp with its ids into the [" + qv7::kUserSettingsSection + "] section of " +
           qv7::UserSettingsFile();
}

DoctorCheck Ok(const char* check, std::string detail) {
    return DoctorCheck{check, true, std::move(detail), {}};
}

DoctorCheck Wrong(const char* check, std::string detail, std::string fix) {
    return DoctorCheck{check, false, std::move(detail), std::move(fix)};
}

// The four hex digits a rule compares an attribute with: ATTR{name}=="1a2b"
// or ATTRS{name} == "1a2b"; -1 when the line does not compare it.
long RuleValue(const std::string& line, const char* name) {
    for (const char* form : {"ATTRS{", "ATTR{"}) {
        const size_t at = line.find(std::string(form) + name + "}");
        if (at == std::string::npos) continue;
        size_t i = at + std::strlen(form) + std::strlen(name) + 1;
        while (i < line.size() && line[i] == ' ') ++i;
        if (line.compare(i, 2, "==") != 0) continue;
        i += 2;
        while (i < line.size() && line[i] == ' ') ++i;
        if (i + 6 > line.size() || line[i] != '"' || line[i + 5] != '"') continue;
        const std::string digits = line.substr(i + 1, 4);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) continue;
        return std::stol(digits, nullptr, 16);
    }
    return -1;
}

// A rule line that names both ids (in any case) and hands the device to the
// user, by the seat tag or by an open mode.
bool GivesAccess(const std::string& line, qv7::UsbIds ids) {
    if (RuleValue(line, "idVendor") != ids.vendor || RuleValue(line, "idProduct") != ids.product) return false;
    return line.find("uaccess") != std::string::npos || line.find("MODE") != std::string::npos;
}

std::string DescribeError(int error) {
    return std::strerror(error) + std::string(" (") + std::to_string(error) + ")";
}

// The printer's answers, through the library as Quillory asks them: the
// driver version, then the file types of the Files / Printing mode.
DoctorCheck AskPrinter(const char* check) {
    CQV7_Sys_API printer;
    if (printer.IsError()) {
        return Wrong(check, "the printer could not be opened: " + printer.GetError(),
                     "unplug the printer, plug it in again and run qv7 doctor again");
    }
    uint32_t version = 0;
    if (!printer.GetVersion(&version)) {
        return Wrong(check, "the printer does not answer the version request: " + printer.GetError(),
                     "switch the printer off and on; qv7 --trace FILE info records what it answers");
    }
    uint16_t types = 0;
    const bool answered = printer.GetFileTypes(&types);
    const std::string error = printer.GetError();
    // A size mismatch is an answer, only a wrong one; a refused request or no
    // file types at all is what a printer in its firmware transfer mode gives.
    if (!answered && error.rfind("Invalid Data Size", 0) == 0) {
        return Wrong(check, "the printer answers wrongly: " + error,
                     "switch the printer off and on; qv7 --trace FILE info records what it answers");
    }
    if (!answered || types == 0) {
        return Wrong(check, "the printer answers but keeps no file types: it is probably in firmware transfer mode",
                     std::string("restart the printer without holding F5, then ") + kPrinterMode);
    }
    return Ok(check, "driver version " + std::to_string(version) + ", " + std::to_string(types) + " file types");
}

// Lets the library reach the printer the doctor's own way (its transport,
// the printer it inspected) for as long as the object lives.
class ScopedDriverFactory {
public:
    explicit ScopedDriverFactory(qv7::DriverFactory factory) { qv7::SetDriverFactory(std::move(factory)); }
    ~ScopedDriverFactory() { qv7::SetDriverFactory({}); }
    ScopedDriverFactory(const ScopedDriverFactory&) = delete;
    ScopedDriverFactory& operator=(const ScopedDriverFactory&) = delete;
};

// Where the ids came from, in the words of the place the user would change them.
std::string SourceOf(const qv7::UsbIdSetting& setting) {
    switch (setting.source) {
    case qv7::UsbIdSource::Environment: return std::string(qv7::kUsbIdVariable);
    case qv7::UsbIdSource::UserSettings: return std::string(qv7::kUsbIdKey) + " in your settings (" + setting.file + ")";
    case qv7::UsbIdSource::MachineSettings:
        return std::string(qv7::kUsbIdKey) + " in the machine settings (" + setting.file + ")";
    case qv7::UsbIdSource::Placeholder: break;
    }
    return "the built-in placeholder";
}

// The placeholder names no printer: nothing on a real bus answers to it, so
// it is a setting still to be made, not one that is fine.
DoctorCheck CheckIds(const qv7::UsbIdSetting& setting) {
    if (!setting.ids) {
        const std::string name = setting.source == qv7::UsbIdSource::Environment ? qv7::kUsbIdVariable : qv7::kUsbIdKey;
        const std::string place = setting.file.empty() ? "" : " in " + setting.file;
        return Wrong("ids", name + "=" + setting.written + place + " cannot be used: " + setting.problem,
                     setting.source == qv7::UsbIdSource::Environment
                         ? std::string("export ") + qv7::kUsbIdVariable + "=1a2b:3c4d with the printer's ids"
                         : std::string("write it as ") + qv7::kUsbIdKey + "=1a2b:3c4d with the printer's ids");
    }
    if (setting.source == qv7::UsbIdSource::Placeholder) {
        return Wrong("ids",
                     IdsText(*setting.ids) + " is the built-in placeholder, not a printer's ids: none is set in " +
                         qv7::kUsbIdVariable + ", your settings or the machine settings",
                     FindIds());
    }
    return Ok("ids", IdsText(*setting.ids) + " from " + SourceOf(setting));
}

DoctorCheck CheckPermission(const UsbDoctorSetup& setup, qv7::UsbAddress at, qv7::UsbIds ids,
                            std::unique_ptr<qv7::UsbDevice>* device) {
    const std::string path = qv7::FormatUsbDevicePath(at);
    const int error = setup.transport->Open(at, ids, device);
    if (error == 0) return Ok("permission", path + " opens");
    if (error != EACCES) {
        return Wrong("permission", path + " cannot be opened: " + DescribeError(error),
                     "unplug the printer, plug it in again and run qv7 doctor again");
    }
    const std::string rule = FindAccessRule(setup.ruleFolders, ids);
    if (rule.empty()) {
        return Wrong("permission",
                     "no permission to open " + path + ", and no udev rule gives " + IdsText(ids) + " to you",
                     std::string("qv7 udev-rule | sudo tee ") + kOwnUdevRuleFile + ", then " +
                         UdevApplyCommand(ids));
    }
    return Wrong("permission",
                 "no permission to open " + path + " although " + rule +
                     " gives it to the user at the seat (not to a remote login)",
                 UdevApplyCommand(ids) + ", or unplug the printer and plug it in again");
}

DoctorCheck CheckInterface(const UsbDoctorSetup& setup, qv7::UsbAddress at, qv7::UsbIds ids,
                           qv7::UsbDevice& device) {
    qv7::UsbInterface described;
    if (device.DescribeInterface(qv7::kPrinterInterface, &described) != 0) {
        return Wrong("interface", "the device has no interface 0: it is not a QV7E, or the ids name another device",
                     FindIds());
    }
    bool driverBound = false;
    device.KernelDriverActive(qv7::kPrinterInterface, &driverBound);
    std::shared_ptr<qv7::UsbSession> session;
    const int error = qv7::UsbSession::Open(*setup.transport, at, ids, &session);
    if (error == EBUSY) {
        return Wrong("interface",
                     driverBound ? "interface 0 is held by a kernel driver that would not let go"
                                 : "interface 0 is claimed by another program (Quillory or qv7 running?)",
                     driverBound ? "unplug the printer and plug it in again"
                                 : "close the other program, then run qv7 doctor again");
    }
    if (error != 0) {
        return Wrong("interface", "interface 0 cannot be claimed: " + DescribeError(error),
                     "unplug the printer, plug it in again and run qv7 doctor again");
    }
    if (!session->Endpoint(qv7::UsbPipe::In) || !session->Endpoint(qv7::UsbPipe::Out)) {
        return Wrong("interface", "interface 0 lacks a bulk endpoint: it is not a QV7E in Files / Printing mode",
                     kPrinterMode);
    }
    return Ok("interface", driverBound ? "interface 0 is free (taken from its kernel driver while in use)"
                                       : "interface 0 is free");
}

}  // namespace

bool DoctorReport::Usable() const {
    for (const DoctorCheck& check : checks) {
        if (!check.ok) return false;
    }
    return !checks.empty();
}

std::vector<std::string> UdevRuleFolders() {
    return {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/local/lib/udev/rules.d", "/usr/lib/udev/rules.d",
            "/lib/udev/rules.d"};
}

std::string FindAccessRule(const std::vector<std::string>& folders, qv7::UsbIds ids) {
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".rules") continue;
            std::ifstream rules(entry.path());
            std::string line;
            while (std::getline(rules, line)) {
                if (line.rfind('#', 0) != 0 && GivesAccess(line, ids)) return entry.path().string();
            }
        }
    }
    return {};
}

DoctorReport DiagnoseUsb(const UsbDoctorSetup& setup) {
    DoctorReport report;
    auto& checks = report.checks;

    checks.push_back(CheckIds(setup.ids));
    if (!checks.back().ok) return report;
    const std::optional<qv7::UsbIds> ids = setup.ids.ids;

    std::vector<qv7::UsbAddress> found;
    if (const int error = setup.transport->List(*ids, &found)) {
        checks.push_back(Wrong("bus", "USB cannot be used on this computer: " + DescribeError(error),
                               "check that the machine has USB and that /dev/bus/usb exists"));
        return report;
    }
    if (found.empty()) {
        checks.push_back(Wrong("bus", "no device " + IdsText(*ids) + " on the USB bus",
                               std::string(kPrinterMode) + "; if it has other ids, " + FindIds()));
        return report;
    }
    std::string where = qv7::FormatUsbDevicePath(found.front());
    if (found.size() > 1) where += " (the first of " + std::to_string(found.size()) + ")";
    checks.push_back(Ok("bus", where));

    std::unique_ptr<qv7::UsbDevice> device;
    checks.push_back(CheckPermission(setup, found.front(), *ids, &device));
    if (!checks.back().ok) return report;
    checks.push_back(CheckInterface(setup, found.front(), *ids, *device));
    device.reset();
    if (!checks.back().ok) return report;

    const std::shared_ptr<qv7::UsbTransport> transport = setup.transport;
    ScopedDriverFactory driver([transport, ids = *ids] { return std::make_shared<qv7::UsbDriver>(transport, ids); });
    checks.push_back(AskPrinter("printer"));
    return report;
}

DoctorReport DiagnoseVirtual(const std::string& folder) {
    DoctorReport report;
    auto& checks = report.checks;
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_directory(folder, error)) {
        checks.push_back(Wrong("folder", folder + " is not a folder", "qv7 --device virtual:DIR with DIR a folder"));
        return report;
    }
    // The doctor only looks: under the folder's lock, so that no store is
    // halfway through while it reads, and without seeding a folder or mending
    // what an interrupted store left, which it leaves to the next connection.
    qv7::VirtualPrinter::Inspection inspection = qv7::VirtualPrinter::Inspect(folder);
    using Outcome = qv7::VirtualPrinter::Inspection::Outcome;
    switch (inspection.outcome) {
    case Outcome::NotYetAPrinter:
        checks.push_back(Ok("folder", folder + " holds no printer yet: the first connection makes a new one there"));
        return report;
    case Outcome::Busy:
        checks.push_back(Wrong("folder", folder + " is in use by another program (Quillory or qv7 running?)",
                               "close the other program, then run qv7 doctor again"));
        return report;
    case Outcome::NotAPrinter:
        checks.push_back(Wrong("folder", inspection.reason,
                               "mend the folder as the virtual printer's guide describes, or use an empty folder"));
        return report;
    case Outcome::Printer:
        break;
    }
    if (!inspection.printer->IsPresent()) {
        checks.push_back(Wrong("folder", folder + "/faults.txt says no printer is attached",
                               "remove the line no-device from " + folder + "/faults.txt"));
        return report;
    }
    for (const std::string& notice : inspection.wouldMend) checks.push_back(Ok("mend", notice));
    checks.push_back(Ok("folder", folder));
    // The questions go to the printer just inspected, still held, rather
    // than to a connection that would load (and mend) the folder again.
    std::shared_ptr<qv7::VirtualPrinter> printer = std::move(inspection.printer);
    ScopedDriverFactory driver([printer] { return qv7::MakeDriverOver(printer); });
    checks.push_back(AskPrinter("printer"));
    return report;
}

}  // namespace qv7cli
