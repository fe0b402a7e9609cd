#include "WindowsSetupHost.h"

#include "SetupDocuments.h"
#include "WindowsCommands.h"

namespace quillory::setup::win {

namespace {

// The Windows tools' exit codes say nothing reliable, so a started command is
// all this host can tell.
StepResult StartedOrNot(bool started) { return started ? StepResult::Done : StepResult::NotStarted; }

}  // namespace

WindowsSetupHost::WindowsSetupHost(WinPlatform& platform, std::uint16_t vendorId, std::uint16_t productId)
    : platform_(platform), hardwareId_(HardwareId(vendorId, productId)) {}

void WindowsSetupHost::RemoveOldPackages() {
    for (const std::string& removal : OldPackageRemovals()) {
        platform_.RunAndWait(removal, kWaitWithoutLimit, false);
    }
}

bool WindowsSetupHost::RemoveOldDriverInfo() {
    const auto windows = platform_.WindowsDirectory();
    if (!windows) {
        return false;
    }
    // The old information file used to be moved to the root of drive C: before
    // it was deleted; deleting it where it lies does the same without writing
    // anything outside the Windows folder.
    platform_.RemoveFile(*windows + "\\inf\\qv7sys.inf");
    platform_.RemoveFile(*windows + "\\inf\\QV7SYS.PNF");
    return true;
}

std::optional<OsVersion> WindowsSetupHost::QueryOsVersion() { return platform_.QueryOsVersion(); }

DriverInfoRefresh WindowsSetupHost::RefreshDriverInfoFile() {
    DriverInfoRefresh refresh;
    if (const auto windows = platform_.WindowsDirectory()) {
        platform_.CopyReplacing("\\qv7sys.inf", *windows + "\\inf\\qv7sys.inf");
    } else {
        refresh.windowsDirectoryMissing = true;
    }
    refresh.systemDirectoryMissing = !platform_.SystemDirectory();
    return refresh;
}

void WindowsSetupHost::StageDriverFiles() {
    // Each place is looked up afresh, and a place that cannot be found is skipped.
    for (const std::string& folder : StagingFolders()) {
        if (const auto windows = platform_.WindowsDirectory()) {
            platform_.CreateFolder(*windows + folder);
        }
    }
    for (const auto& [source, destination] : StagingFiles()) {
        if (const auto windows = platform_.WindowsDirectory()) {
            platform_.CopyReplacing(source, *windows + destination);
        }
    }
}

std::optional<std::string> WindowsSetupHost::InstalledVersion() {
    return platform_.ReadMachineText(kApplicationKey, "Version");
}

void WindowsSetupHost::RemoveCurrentPackage(PackageFamily family) {
    platform_.RunAndWait(CurrentPackageRemoval(family), kWaitWithoutLimit, false);
}

StepResult WindowsSetupHost::InstallApplication(PackageFamily family, int limitMs) {
    return StartedOrNot(platform_.RunAndWait(ApplicationInstall(family), limitMs, true));
}

bool WindowsSetupHost::InstallWindowsInstaller(bool win9xFamily) {
    return platform_.RunAndWait(WindowsInstallerSetup(win9xFamily), kWaitWithoutLimit, true);
}

std::optional<std::string> WindowsSetupHost::ReadParentIdPrefix() {
    return platform_.ReadMachineText(DeviceInstanceKey(hardwareId_), "ParentIdPrefix");
}

bool WindowsSetupHost::KernelDriverInstalled(const std::string& parentIdPrefix) {
    return platform_.ReadMachineText(FileTransferInterfaceKey(hardwareId_, parentIdPrefix), "Driver")
        .has_value();
}

bool WindowsSetupHost::RunWithFallback(const std::pair<std::string, std::string>& commands) {
    return platform_.RunAsLauncher(commands.first) || platform_.RunAsLauncher(commands.second);
}

StepResult WindowsSetupHost::InstallKernelDriver(DriverBuild build) {
    return StartedOrNot(RunWithFallback(KernelDriverInstall(build)));
}

PrinterPort WindowsSetupHost::ReadPrinterPort(const std::string& parentIdPrefix) {
    const RegistryNumber port =
        platform_.ReadMachineNumber(PrinterInterfaceKey(hardwareId_, parentIdPrefix), "Port Number");
    if (!port.keyOpened) {
        return {PrinterPort::Status::NoPrinter, {}};
    }
    if (!port.value) {
        return {PrinterPort::Status::NoPortNumber, {}};
    }
    return {PrinterPort::Status::Found, UsbPortName(*port.value)};
}

bool WindowsSetupHost::AddPrinterDriverPackage(DriverBuild build) {
    return RunWithFallback(PrinterDriverPackage(build));
}

StepResult WindowsSetupHost::AddPrinterQueue(const std::string& portName) {
    // Every command is the printer tool: if one cannot be started, none can.
    bool allStarted = true;
    for (const std::string& command : PrinterQueueCommands(portName)) {
        allStarted = platform_.RunAsLauncher(command) && allStarted;
    }
    return StartedOrNot(allStarted);
}

void WindowsSetupHost::OpenDocument(Document document) {
    const DocumentTarget target = DocumentFor(document);
    platform_.ShellOpen(target.target, target.minimized);
}

}  // namespace quillory::setup::win
