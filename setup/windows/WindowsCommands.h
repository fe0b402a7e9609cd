// The command lines, registry paths and file places of the Windows host.
// Built without any Windows header so they can be checked on every platform.
#ifndef QUILLORY_SETUP_WINDOWS_COMMANDS_H
#define QUILLORY_SETUP_WINDOWS_COMMANDS_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "SetupHost.h"

namespace quillory::setup::win {

const std::vector<std::string>& OldPackageRemovals();
std::string CurrentPackageRemoval(PackageFamily family);
std::string ApplicationInstall(PackageFamily family);
std::string WindowsInstallerSetup(bool win9xFamily);

// The first command line, and the one tried when the first cannot be started.
std::pair<std::string, std::string> KernelDriverInstall(DriverBuild build);
std::pair<std::string, std::string> PrinterDriverPackage(DriverBuild build);
std::vector<std::string> PrinterQueueCommands(const std::string& portName);
std::string UsbPortName(std::uint32_t portNumber);

// "Vid_ffff&Pid_07e0": the printer's USB ids as the platform names its devices.
std::string HardwareId(std::uint16_t vendorId, std::uint16_t productId);
std::string DeviceInstanceKey(const std::string& hardwareId);
std::string FileTransferInterfaceKey(const std::string& hardwareId, const std::string& parentIdPrefix);
std::string PrinterInterfaceKey(const std::string& hardwareId, const std::string& parentIdPrefix);
inline constexpr const char* kApplicationKey = "SOFTWARE\\Orvale_Quillory";

// Staging: folders under the Windows directory, then (source, destination under it).
const std::vector<std::string>& StagingFolders();
const std::vector<std::pair<std::string, std::string>>& StagingFiles();

}  // namespace quillory::setup::win

#endif
