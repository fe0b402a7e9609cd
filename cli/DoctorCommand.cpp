// qv7 doctor: why the printer cannot be reached, and what to do about it.
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Commands.h"
#include "LibusbTransport.h"
#include "PrinterCandidates.h"
#include "PrinterDoctor.h"
#include "TerminalText.h"
#include "UsbDevicePath.h"
#include "UsbIdSetting.h"

namespace qv7cli {

namespace {

constexpr char kVirtualPrefix[] = "virtual:";
constexpr char kUsbUnusable[] = "USB cannot be used on this computer: ";
constexpr char kNoProductText[] = "(no product text)";
constexpr char kConfiguredMark[] = "  (the ids set now)";
constexpr char kNoCandidates[] =
    "no attached USB device has a vendor-specific interface with one bulk IN and one bulk OUT endpoint; "
    "is the printer plugged in, switched on and in its PC Interface mode?";
// A product text is a name: a line of the list is no place for more.
constexpr qsizetype kLongestProductText = 80;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

DoctorReport Diagnose() {
    const std::string device = Environment("QUILLORY_DEVICE");
    if (device.empty() || device == "usb") {
        return DiagnoseUsb({std::make_shared<qv7::LibusbTransport>(), qv7::ReadUsbIdSetting(), UdevRuleFolders()});
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

void FillJson(const DoctorReport& report, QJsonObject& root) {
    QJsonArray checks;
    for (const DoctorCheck& check : report.checks) {
        QJsonObject entry;
        entry.insert("check", QString::fromStdString(check.check));
        entry.insert("ok", check.ok);
        entry.insert("detail", QString::fromStdString(check.detail));
        entry.insert("fix", check.ok ? QJsonValue() : QJsonValue(QString::fromStdString(check.fix)));
        checks.append(entry);
    }
    root.insert("usable", report.Usable());
    root.insert("checks", checks);
}

// The devices that may be the printer, from what the system keeps of each:
// nothing is sent to them. Their texts are the devices' own, so they reach
// the terminal made safe.
int ListCandidates(Invocation& invocation) {
    const bool json = invocation.json();
    qv7::LibusbTransport transport;
    std::vector<qv7::UsbDeviceSummary> found;
    if (const int error = qv7::FindPrinterCandidates(transport, &found)) {
        std::fprintf(stderr, "qv7: %s%s (%d)\n", kUsbUnusable, std::strerror(error), error);
        return kExitFailed;
    }
    const std::optional<qv7::UsbIds> configured = qv7::ReadUsbIdSetting().ids;
    QJsonArray candidates;
    for (const qv7::UsbDeviceSummary& device : found) {
        const bool isConfigured = configured && *configured == device.ids;
        const QString product = QString::fromUtf8(device.product.c_str());
        if (json) {
            QJsonObject entry;
            entry.insert("path", QString::fromStdString(qv7::FormatUsbDevicePath(device.at)));
            entry.insert("ids", QString::fromStdString(qv7::FormatUsbIds(device.ids)));
            entry.insert("product", product);
            entry.insert("configured", isConfigured);
            candidates.append(entry);
            continue;
        }
        std::printf("%s  %s  %s%s\n", qv7::FormatUsbDevicePath(device.at).c_str(),
                    qv7::FormatUsbIds(device.ids).c_str(),
                    product.isEmpty() ? kNoProductText : TerminalText(product, kLongestProductText).constData(),
                    isConfigured ? kConfiguredMark : "");
    }
    if (json) {
        invocation.result.insert("candidates", candidates);
    } else if (found.empty()) {
        std::fprintf(stderr, "qv7: %s\n", kNoCandidates);
    }
    return found.empty() ? kExitFailed : kExitSuccess;
}

}  // namespace

int RunDoctor(Invocation& invocation) {
    if (invocation.Has("--candidates")) return ListCandidates(invocation);
    const DoctorReport report = Diagnose();
    if (invocation.json()) {
        FillJson(report, invocation.result);
    } else {
        PrintLines(report);
    }
    return report.Usable() ? kExitSuccess : kExitFailed;
}

}  // namespace qv7cli
