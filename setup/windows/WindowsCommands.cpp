#include "WindowsCommands.h"

#include <cstdio>

namespace quillory::setup::win {

namespace {
const char* const kPrintUi = "rundll32 printui.dll,PrintUIEntry ";
// The two queue settings were always written with a blank after the comma;
// rundll32 accepts both forms, so the lines stay as they were.
const char* const kPrintUiSpaced = "rundll32 printui.dll, PrintUIEntry ";
const char* const kPrinterClass = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
}  // namespace

const std::vector<std::string>& OldPackageRemovals() {
    static const std::vector<std::string> removals = {
        "msiexec /x LinkMsi/Quillory_1.msi /q", "msiexec /x LinkMsi/Quillory_2.msi /q",
        "msiexec /x LinkMsi/Quillory.msi /q",   "msiexec /x LinkMsi/Quillory_4.msi /q",
        "msiexec /x LinkMsi/Quillory_5.msi /q", "msiexec /x LinkMsi/Quillory_5_1027.msi /q"};
    return removals;
}

std::string CurrentPackageRemoval(PackageFamily family) {
    return family == PackageFamily::Win9x ? "msiexec /x QV7Link9x.msi /q" : "msiexec /x QV7LinkNT.msi /q";
}

std::string ApplicationInstall(PackageFamily family) {
    switch (family) {
    case PackageFamily::Win9x: return "msiexec /I QV7Link9x.msi ALLUSERS=2";
    case PackageFamily::XP: return "msiexec /I QV7LinkXP.msi ALLUSERS=2";
    case PackageFamily::NT: break;
    }
    return "msiexec /I QV7LinkNT.msi ALLUSERS=2";
}

std::string WindowsInstallerSetup(bool win9xFamily) {
    return win9xFamily ? "WindowsInstaller/Win9xInstMsi.exe /q:a"
                       : "WindowsInstaller/WindowsInstaller-KB893803-v2-x86.exe /q:a";
}

std::pair<std::string, std::string> KernelDriverInstall(DriverBuild build) {
    if (build == DriverBuild::Windows7) {
        return {"pnputil.exe -i -a WIN7\\qv7sys.inf", "pnputilWin764.exe -i -a WIN7\\qv7sys.inf"};
    }
    return {"pnputil.exe -i -a Vista\\qv7sys.inf", "pnputilVista64.exe -i -a Vista\\qv7sys.inf"};
}

std::pair<std::string, std::string> PrinterDriverPackage(DriverBuild build) {
    if (build == DriverBuild::Windows7) {
        return {"pnputil.exe -a OEMPRINT.inf", "pnputilWin764 -a OEMPRINT.inf"};
    }
    return {"pnputil.exe -a OEMPRINT.inf", "pnputilVista64.exe -a OEMPRINT.inf"};
}

std::vector<std::string> PrinterQueueCommands(const std::string& portName) {
    std::vector<std::string> commands;
    for (const char* oldQueue : {"Tandor QV7", "Tandor QV7E", "QV7", "QV7E"}) {
        commands.push_back(std::string(kPrintUi) + "/dl /q /n \"" + oldQueue + "\"");
    }
    commands.push_back(std::string(kPrintUi) +
                       "/if /q /b \"Tandor QV7E\" /f OEMPRINT.inf /r FILE: /m \"Tandor QV7E\"");
    commands.push_back(std::string(kPrintUiSpaced) + "/Xs /q /n \"Tandor QV7E\" comment \"Tandor QV7E Printer\"");
    commands.push_back(std::string(kPrintUiSpaced) + "/Xs /q /n \"Tandor QV7E\" PortName \"" + portName + "\"");
    return commands;
}

std::string UsbPortName(std::uint32_t portNumber) { return "USB00" + std::to_string(portNumber); }

std::string HardwareId(std::uint16_t vendorId, std::uint16_t productId) {
    char id[32];
    std::snprintf(id, sizeof id, "Vid_%04x&Pid_%04x", vendorId, productId);
    return id;
}

std::string DeviceInstanceKey(const std::string& hardwareId) {
    return "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + hardwareId + "\\123456789ab\\";
}

std::string FileTransferInterfaceKey(const std::string& hardwareId, const std::string& parentIdPrefix) {
    return "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + hardwareId + "&MI_00\\" + parentIdPrefix + "&0000";
}

std::string PrinterInterfaceKey(const std::string& hardwareId, const std::string& parentIdPrefix) {
    return std::string("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") + kPrinterClass + "\\##?#USB#" +
           hardwareId + "&MI_01#" + parentIdPrefix + "&0001#" + kPrinterClass + "\\#\\Device Parameters\\";
}

const std::vector<std::string>& StagingFolders() {
    static const std::vector<std::string> folders = {
        "\\inf\\i386",           "\\inf\\amd64",           "\\inf\\amd64.6.1",
        "\\system32\\drivers\\i386", "\\system32\\drivers\\amd64", "\\system32\\drivers\\amd64.6.1"};
    return folders;
}

const std::vector<std::pair<std::string, std::string>>& StagingFiles() {
    static const std::vector<std::pair<std::string, std::string>> files = {
        {"qv7sys.inf", "\\inf\\qv7sys.inf"},
        {"i386\\QV7.gpd", "\\inf\\i386\\QV7.gpd"},
        {"i386\\QV7.dll", "\\inf\\i386\\QV7.dll"},
        {"i386\\qv7sys.sys", "\\system32\\drivers\\i386\\qv7sys.sys"},
        {"amd64\\qv7sys.sys", "\\system32\\drivers\\amd64\\qv7sys.sys"},
        {"amd64_6_1\\qv7sys.sys", "\\system32\\drivers\\amd64.6.1\\qv7sys.sys"},
        {"amd64\\QV7.gpd", "\\inf\\amd64\\QV7.gpd"},
        {"amd64\\QV7.dll", "\\inf\\amd64\\QV7.dll"},
        {"amd64_6_1\\QV7.gpd", "\\inf\\amd64.6.1\\QV7.gpd"},
        {"amd64_6_1\\QV7.dll", "\\inf\\amd64.6.1\\QV7.dll"}};
    return files;
}

}  // namespace quillory::setup::win
