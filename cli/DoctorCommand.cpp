// qv7 doctor: why the printer cannot be reached, and what to do about it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "LibusbTransport.h"
#include "PrinterDoctor.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

constexpr char kVirtualPrefix[] = "virtual:";

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

DoctorReport Diagnose() {
    const std::string device = Environment("QUILLORY_DEVICE");
    if (device.empty() || device == "usb") {
        return DiagnoseUsb({std::make_shared<qv7::LibusbTransport>(), Environment("QUILLORY_USB_ID"),
                            UdevRuleFolders()});
    }
    if (device.rfind(kVirtualPrefix, 0) == 0 && device.size() > sizeof kVirtualPrefix - 1) {
        return DiagnoseVirtual(device.substr(sizeof kVirtualPrefix - 1));
    }
    DoctorReport report;
    report.checks.push_back({"device", false, "QUILLORY_DEVICE=" + device + " names no printer",
                             "export QUILLORY_DEVICE=usb, or virtual:DIR for a virtual printer"});
    return report;
}

// Details quote folder texts, slot names and what the printer answered: any
// of them may hold what a terminal would act on.
void PrintLines(const DoctorReport& report) {
    for (const DoctorCheck& check : report.checks) {
        if (check.ok) {
            std::printf("%-11s ok: %s\n", check.check.c_str(), TerminalText(check.detail).constData());
        } else {
            std::printf("%-11s %s. Fix: %s\n", check.check.c_str(), TerminalText(check.detail).constData(),
                        TerminalText(check.fix).constData());
        }
    }
}

void PrintJson(const DoctorReport& report) {
    QJsonArray checks;
    for (const DoctorCheck& check : report.checks) {
        QJsonObject entry;
        entry.insert("check", QString::fromStdString(check.check));
        entry.insert("ok", check.ok);
        entry.insert("detail", QString::fromStdString(check.detail));
        entry.insert("fix", check.ok ? QJsonValue() : QJsonValue(QString::fromStdString(check.fix)));
        checks.append(entry);
    }
    QJsonObject root;
    root.insert("usable", report.Usable());
    root.insert("checks", checks);
    std::fputs(TerminalSafeJson(QJsonDocument(root).toJson(QJsonDocument::Indented)).constData(), stdout);
}

}  // namespace

int RunDoctor(const Arguments& args) {
    bool json = false;
    for (const std::string& arg : args) {
        if (arg != "--json") return UsageError("doctor takes no argument '" + arg + "'");
        json = true;
    }
    const DoctorReport report = Diagnose();
    if (json) {
        PrintJson(report);
    } else {
        PrintLines(report);
    }
    return report.Usable() ? kExitSuccess : kExitFailed;
}

}  // namespace qv7cli
