#include "LinuxSetupHost.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <sstream>

#include "ProcessRunner.h"
#include "SetupDocuments.h"

namespace quillory::setup::linux_host {

namespace {

// Both scripts run as root behind one privilege prompt. Paths and names come in
// as arguments, never as script text, so nothing a device reports can become a
// command.
const char* const kInstallRuleScript =
    "install -D -m 0644 \"$1\" \"$2\" && udevadm control --reload && udevadm trigger --subsystem-match=usb";
const char* const kQueueScript =
    "for old in \"Tandor QV7\" \"Tandor QV7E\" \"QV7\" \"QV7E\"; do lpadmin -x \"$old\" 2>/dev/null; done; "
    "lpadmin -p \"$2\" -E -v \"$1\" -D \"$3\" -m raw";

// Orders "quillory_2.9" before "quillory_2.10": runs of digits compare as numbers.
bool NaturalLess(const QString& a, const QString& b) {
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int endA = i;
            int endB = j;
            while (endA < a.size() && a[endA].isDigit()) {
                ++endA;
            }
            while (endB < b.size() && b[endB].isDigit()) {
                ++endB;
            }
            const qulonglong numberA = a.mid(i, endA - i).toULongLong();
            const qulonglong numberB = b.mid(j, endB - j).toULongLong();
            if (numberA != numberB) {
                return numberA < numberB;
            }
            i = endA;
            j = endB;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

std::string DefaultSettingsPath() {
    const QByteArray overridden = qgetenv("QUILLORY_MACHINE_SETTINGS");
    return overridden.isEmpty() ? "/etc/xdg/Orvale/Orvale_Quillory.conf" : overridden.toStdString();
}

}  // namespace

LinuxHostConfig DefaultLinuxHostConfig() {
    LinuxHostConfig config;
    config.mediumFolder = QCoreApplication::applicationDirPath().toStdString();
    config.machineSettingsPath = DefaultSettingsPath();
    config.openUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); };
    return config;
}

LinuxSetupHost::LinuxSetupHost(LinuxHostConfig config, MessagePort& messages)
    : config_(std::move(config)), messages_(messages) {}

bool LinuxSetupHost::ToolsPresent(std::initializer_list<const char*> tools) {
    for (const char* tool : tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            messages_.ShowMessage(std::string("This step needs the program \"") + tool +
                                  "\", which is not installed on this computer.");
            return false;
        }
    }
    return true;
}

std::optional<OsVersion> LinuxSetupHost::QueryOsVersion() {
    // Reported as Windows 7: the road on which the launcher installs the driver
    // and adds the printer itself, rather than pointing at a Windows wizard.
    return OsVersion{6, 1, 2};
}

std::optional<std::string> LinuxSetupHost::InstalledVersion() {
    QSettings settings(QString::fromStdString(config_.machineSettingsPath), QSettings::IniFormat);
    if (!settings.contains("Version")) {
        return std::nullopt;
    }
    return settings.value("Version").toString().toStdString();
}

std::string LinuxSetupHost::PackagePath() const {
    QDir medium(QString::fromStdString(config_.mediumFolder));
    QStringList packages = medium.entryList({"quillory_*.deb"}, QDir::Files);
    if (packages.isEmpty()) {
        return {};
    }
    // Of several builds on the medium the newest version is installed.
    std::sort(packages.begin(), packages.end(), NaturalLess);
    return medium.absoluteFilePath(packages.last()).toStdString();
}

bool LinuxSetupHost::InstallApplication(PackageFamily, int limitMs) {
    const std::string package = PackagePath();
    if (package.empty()) {
        messages_.ShowMessage("There is no Quillory package (quillory_*.deb) in " + config_.mediumFolder + ".");
        return false;
    }
    if (!ToolsPresent({"pkexec", "apt-get"})) {
        return false;
    }
    return RunProcess("pkexec", {"apt-get", "install", "-y", "--reinstall", package}, limitMs).started;
}

bool LinuxSetupHost::KernelDriverInstalled(const std::string&) {
    return std::any_of(config_.udevRulesFolders.begin(), config_.udevRulesFolders.end(), [](const std::string& folder) {
        return QFileInfo::exists(QString::fromStdString(folder + "/" + kRuleFileName));
    });
}

bool LinuxSetupHost::InstallKernelDriver(DriverBuild) {
    const std::string rule = config_.mediumFolder + "/" + kRuleFileName;
    if (!QFileInfo::exists(QString::fromStdString(rule))) {
        messages_.ShowMessage("The USB access rule " + rule + " is missing.");
        return false;
    }
    if (!ToolsPresent({"pkexec", "udevadm"})) {
        return false;
    }
    if (config_.udevRulesFolders.empty()) {
        return false;
    }
    const std::string target = config_.udevRulesFolders.front() + "/" + kRuleFileName;
    return RunProcess("pkexec", {"sh", "-c", kInstallRuleScript, "sh", rule, target}, kWaitWithoutLimit).started;
}

std::string LinuxSetupHost::PrinterUriFrom(const std::string& lpinfoOutput) {
    std::istringstream lines(lpinfoOutput);
    std::string line;
    while (std::getline(lines, line)) {
        const auto uriStart = line.find("usb://");
        if (uriStart == std::string::npos) {
            continue;
        }
        std::string uri = line.substr(uriStart);
        uri = uri.substr(0, uri.find_first_of(" \t\r"));
        if (QString::fromStdString(uri).contains("QV7", Qt::CaseInsensitive)) {
            return uri;
        }
    }
    return {};
}

PrinterPort LinuxSetupHost::ReadPrinterPort(const std::string&) {
    if (!ToolsPresent({"lpinfo"})) {
        return {PrinterPort::Status::NoPrinter, {}};
    }
    ProcessResult devices = RunProcess("lpinfo", {"-v"}, kWaitWithoutLimit);
    // CUPS lists devices only to its administrators; others are asked to prove it.
    if (devices.exitCode != 0 && ToolsPresent({"pkexec"})) {
        devices = RunProcess("pkexec", {"lpinfo", "-v"}, kWaitWithoutLimit);
    }
    const std::string uri = PrinterUriFrom(devices.output);
    if (uri.empty()) {
        return {PrinterPort::Status::NoPrinter, {}};
    }
    return {PrinterPort::Status::Found, uri};
}

void LinuxSetupHost::AddPrinterQueue(const std::string& portName) {
    if (!ToolsPresent({"pkexec", "lpadmin"})) {
        return;
    }
    RunProcess("pkexec", {"sh", "-c", kQueueScript, "sh", portName, kQueueName, kQueueComment}, kWaitWithoutLimit);
}

void LinuxSetupHost::OpenDocument(Document document) {
    const DocumentTarget target = DocumentFor(document);
    std::string url = target.target;
    if (url.rfind("https://", 0) != 0) {
        std::string path = url;
        std::replace(path.begin(), path.end(), '\\', '/');
        url = QUrl::fromLocalFile(QString::fromStdString(config_.mediumFolder + "/" + path)).toString().toStdString();
    }
    config_.openUrl(url);
}

}  // namespace quillory::setup::linux_host
