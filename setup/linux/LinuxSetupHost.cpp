#include "LinuxSetupHost.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <sstream>

#include "SetupDocuments.h"

namespace quillory::setup::linux_host {

namespace {

// Both scripts run as root behind one privilege prompt. Paths, names and ids
// come in as arguments, never as script text, so nothing a device or a file
// reports can become a command; every tool is named by its full path. Each
// failure ends the script with 1, so that 126 and 127 can only be the
// prompt's own answers (dismissed, not authorised).
//   $1 install  $2 udevadm  $3 rule  $4 target  then (vendor, product) pairs
const char* const kInstallRuleScript =
    "install=$1 udevadm=$2 rule=$3 target=$4; shift 4\n"
    "\"$install\" -D -m 0644 \"$rule\" \"$target\" || exit 1\n"
    "\"$udevadm\" control --reload || exit 1\n"
    // Only the printer's own devices are told about the new rule: an event
    // for every USB device would re-run every other package's rules too.
    "while [ $# -ge 2 ]; do\n"
    "  \"$udevadm\" trigger --action=change --subsystem-match=usb"
    " --attr-match=idVendor=\"$1\" --attr-match=idProduct=\"$2\" || exit 1\n"
    "  shift 2\n"
    "done\n";
//   $1 lpadmin  $2 lpstat  $3 device URI  $4 queue  $5 description  then the old queues
const char* const kQueueScript =
    "lpadmin=$1 lpstat=$2 uri=$3 queue=$4 description=$5; shift 5\n"
    "for old do\n"
    "  if \"$lpstat\" -p \"$old\" >/dev/null 2>&1; then \"$lpadmin\" -x \"$old\" || exit 1; fi\n"
    "done\n"
    // The printer takes its own label data: the queue passes jobs through
    // unchanged. CUPS calls such a queue raw and warns that it is deprecated;
    // it has no other kind for a USB printer that does not speak IPP.
    "\"$lpadmin\" -p \"$queue\" -E -v \"$uri\" -D \"$description\" -m raw || exit 1\n";

constexpr int kPromptDismissed = 126;
constexpr int kPromptNotAuthorised = 127;

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

StepResult OutcomeOf(const std::optional<ProcessResult>& run) {
    if (!run) {
        return StepResult::Missing;
    }
    if (!run->started) {
        return StepResult::Failed;
    }
    // A limited wait ran out: the tool goes on alone, as the step intends.
    if (!run->finished || run->exitCode == 0) {
        return StepResult::Done;
    }
    return run->exitCode == kPromptDismissed || run->exitCode == kPromptNotAuthorised ? StepResult::Refused
                                                                                       : StepResult::Failed;
}

bool IsHexId(const std::string& text) {
    return text.size() == 4 && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// The value of a rule line's KEY=="value" match, whatever ATTR or ATTRS spelling
// is used; empty when the line has none.
std::string MatchedValue(const std::string& line, const std::string& attribute) {
    const std::string key = "{" + attribute + "}==\"";
    const auto start = line.find(key);
    if (start == std::string::npos) {
        return {};
    }
    const auto valueStart = start + key.size();
    const auto valueEnd = line.find('"', valueStart);
    return valueEnd == std::string::npos ? std::string() : line.substr(valueStart, valueEnd - valueStart);
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

}  // namespace

std::vector<std::string> MachineSettingsFiles(const std::string& overridePath, const std::string& xdgConfigDirs,
                                              const std::string& launcherFolder) {
    if (!overridePath.empty()) {
        return {overridePath};
    }
    const QString relative = QStringLiteral("/Orvale/Orvale_Quillory.conf");
    std::vector<std::string> files;
    const QString folders = xdgConfigDirs.empty() ? QStringLiteral("/etc/xdg") : QString::fromStdString(xdgConfigDirs);
    for (const QString& folder : folders.split(':', Qt::SkipEmptyParts)) {
        // Relative entries mean nothing fixed, and the base directory rules say to ignore them.
        if (QDir::isAbsolutePath(folder)) {
            files.push_back(QDir::cleanPath(folder + relative).toStdString());
        }
    }
    const QString prefix = QDir::cleanPath(QString::fromStdString(launcherFolder) + "/..");
    files.push_back(QDir::cleanPath(prefix + "/etc/xdg" + relative).toStdString());
    return files;
}

LinuxHostConfig DefaultLinuxHostConfig() {
    LinuxHostConfig config;
    config.mediumFolder = QCoreApplication::applicationDirPath().toStdString();
    config.machineSettingsFiles = MachineSettingsFiles(qgetenv("QUILLORY_MACHINE_SETTINGS").toStdString(),
                                                       qgetenv("XDG_CONFIG_DIRS").toStdString(), config.mediumFolder);
    config.openUrl = [](const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); };
    return config;
}

LinuxSetupHost::LinuxSetupHost(LinuxHostConfig config, MessagePort& messages)
    : config_(std::move(config)), messages_(messages) {}

std::vector<std::string> LinuxSetupHost::FindTools(std::initializer_list<const char*> tools) {
    QStringList folders;
    for (const std::string& folder : config_.toolFolders) {
        folders << QString::fromStdString(folder);
    }
    std::vector<std::string> paths;
    for (const char* tool : tools) {
        const QString path = QStandardPaths::findExecutable(tool, folders);
        if (path.isEmpty()) {
            messages_.ShowMessage(std::string("This step needs the program \"") + tool +
                                  "\", which is not installed on this computer.");
            return {};
        }
        paths.push_back(path.toStdString());
    }
    return paths;
}

std::optional<ProcessResult> LinuxSetupHost::RunAsRoot(const std::string& program, std::vector<std::string> arguments,
                                                       int limitMs) {
    if (config_.privilegePrompt.empty()) {
        return RunProcess(program, arguments, limitMs);
    }
    const auto prompt = FindTools({config_.privilegePrompt.c_str()});
    if (prompt.empty()) {
        return std::nullopt;
    }
    arguments.insert(arguments.begin(), program);
    return RunProcess(prompt.front(), arguments, limitMs);
}

std::optional<OsVersion> LinuxSetupHost::QueryOsVersion() {
    // Reported as Windows 7: the road on which the launcher installs the driver
    // and adds the printer itself, rather than pointing at a Windows wizard.
    return OsVersion{6, 1, 2};
}

std::optional<std::string> LinuxSetupHost::InstalledVersion() {
    for (const std::string& file : config_.machineSettingsFiles) {
        const QString path = QString::fromStdString(file);
        if (!QFileInfo::exists(path)) {
            continue;
        }
        QSettings settings(path, QSettings::IniFormat);
        if (!settings.contains("Version")) {
            return std::nullopt;
        }
        return settings.value("Version").toString().toStdString();
    }
    return std::nullopt;
}

std::vector<std::string> LinuxSetupHost::PackagePaths() const {
    QDir medium(QString::fromStdString(config_.mediumFolder));
    QStringList programs = medium.entryList({"quillory_*.deb"}, QDir::Files);
    if (programs.isEmpty()) {
        return {};
    }
    // Of several builds on the medium the newest version is installed, with
    // the link library of the same build (quillory_2.1.3_amd64.deb needs
    // libqv7-sys-api2_2.1.3_amd64.deb); apt-get takes both together. The
    // development package, there for programmers, is left alone.
    std::sort(programs.begin(), programs.end(), NaturalLess);
    const QString program = programs.last();
    const QString build = program.mid(program.indexOf('_'));
    std::vector<std::string> paths = {medium.absoluteFilePath(program).toStdString()};
    for (const QString& library : medium.entryList({"libqv7-sys-api[0-9]*" + build}, QDir::Files, QDir::Name)) {
        paths.push_back(medium.absoluteFilePath(library).toStdString());
    }
    return paths;
}

StepResult LinuxSetupHost::InstallApplication(PackageFamily, int limitMs) {
    const std::vector<std::string> packages = PackagePaths();
    if (packages.empty()) {
        messages_.ShowMessage("There is no Quillory package (quillory_*.deb) in " + config_.mediumFolder + ".");
        return StepResult::Missing;
    }
    const auto tools = FindTools({"apt-get"});
    if (tools.empty()) {
        return StepResult::Missing;
    }
    std::vector<std::string> arguments = {"install", "-y", "--reinstall"};
    arguments.insert(arguments.end(), packages.begin(), packages.end());
    return OutcomeOf(RunAsRoot(tools[0], arguments, limitMs));
}

bool LinuxSetupHost::KernelDriverInstalled(const std::string&) {
    return std::any_of(config_.udevRulesFolders.begin(), config_.udevRulesFolders.end(), [](const std::string& folder) {
        return QFileInfo::exists(QString::fromStdString(folder + "/" + kRuleFileName));
    });
}

StepResult LinuxSetupHost::InstallKernelDriver(DriverBuild) {
    const std::string rule = config_.mediumFolder + "/" + kRuleFileName;
    QFile ruleFile(QString::fromStdString(rule));
    if (!ruleFile.open(QIODevice::ReadOnly)) {
        messages_.ShowMessage("The USB access rule " + rule + " is missing.");
        return StepResult::Missing;
    }
    const auto tools = FindTools({"sh", "install", "udevadm"});
    if (tools.empty() || config_.udevRulesFolders.empty()) {
        return StepResult::Missing;
    }
    const std::string target = config_.udevRulesFolders.front() + "/" + kRuleFileName;
    std::vector<std::string> arguments = {"-c", kInstallRuleScript, "sh", tools[1], tools[2], rule, target};
    for (const auto& [vendor, product] : UsbIdsInRule(ruleFile.readAll().toStdString())) {
        arguments.push_back(vendor);
        arguments.push_back(product);
    }
    return OutcomeOf(RunAsRoot(tools[0], arguments, kWaitWithoutLimit));
}

std::string LinuxSetupHost::PrinterUriFrom(const std::string& lpinfoOutput) {
    // Each line is a device class and a device URI, then what the backend says
    // about the device: only the URI column names the device.
    std::istringstream lines(lpinfoOutput);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream columns(line);
        std::string deviceClass;
        std::string uri;
        columns >> deviceClass >> uri;
        if (uri.rfind("usb://", 0) == 0 && QString::fromStdString(uri).contains("QV7", Qt::CaseInsensitive)) {
            return uri;
        }
    }
    return {};
}

std::vector<std::pair<std::string, std::string>> LinuxSetupHost::UsbIdsInRule(const std::string& ruleText) {
    std::vector<std::pair<std::string, std::string>> ids;
    std::istringstream lines(ruleText);
    std::string line;
    while (std::getline(lines, line)) {
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        const std::string vendor = MatchedValue(line, "idVendor");
        const std::string product = MatchedValue(line, "idProduct");
        if (IsHexId(vendor) && IsHexId(product)) {
            ids.emplace_back(Lowered(vendor), Lowered(product));
        }
    }
    return ids;
}

PrinterPort LinuxSetupHost::ReadPrinterPort(const std::string&) {
    const auto lpinfo = FindTools({"lpinfo"});
    if (lpinfo.empty()) {
        return {PrinterPort::Status::NoPrinter, {}};
    }
    std::optional<ProcessResult> devices = RunProcess(lpinfo[0], {"-v"}, kWaitWithoutLimit);
    // CUPS lists devices only to its administrators; others are asked to prove it.
    if (devices->exitCode != 0 && !config_.privilegePrompt.empty()) {
        devices = RunAsRoot(lpinfo[0], {"-v"}, kWaitWithoutLimit);
    }
    const std::string uri = devices && devices->exitCode == 0 ? PrinterUriFrom(devices->output) : std::string();
    if (uri.empty()) {
        return {PrinterPort::Status::NoPrinter, {}};
    }
    return {PrinterPort::Status::Found, uri};
}

StepResult LinuxSetupHost::AddPrinterQueue(const std::string& portName) {
    const auto tools = FindTools({"sh", "lpadmin", "lpstat"});
    if (tools.empty()) {
        return StepResult::Missing;
    }
    std::vector<std::string> arguments = {"-c",     kQueueScript, "sh",      tools[1],
                                          tools[2], portName,     kQueueName, kQueueDescription};
    arguments.insert(arguments.end(), std::begin(kOldQueueNames), std::end(kOldQueueNames));
    const StepResult result = OutcomeOf(RunAsRoot(tools[0], arguments, kWaitWithoutLimit));
    if (result != StepResult::Done) {
        return result;
    }
    // lpadmin's word is not the last: the queue must now be there for everyone.
    return RunProcess(tools[2], {"-p", kQueueName}, kWaitWithoutLimit).exitCode == 0 ? StepResult::Done
                                                                                     : StepResult::Failed;
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
