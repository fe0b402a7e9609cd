// The launcher's host on Windows: each operation as the system's own command
// lines, registry reads and file copies, over the Win32 services of WinPlatform.
#ifndef QUILLORY_SETUP_WINDOWS_SETUP_HOST_H
#define QUILLORY_SETUP_WINDOWS_SETUP_HOST_H

#include <cstdint>

#include "SetupHost.h"
#include "WinPlatform.h"

namespace quillory::setup::win {

// The printer's USB ids are not known yet; the same placeholder as the device
// link library's default, which no real vendor owns.
inline constexpr std::uint16_t kPrinterVendorId = 0xffff;
inline constexpr std::uint16_t kPrinterProductId = 0x07e0;

class WindowsSetupHost : public SetupHost {
public:
    explicit WindowsSetupHost(WinPlatform& platform, std::uint16_t vendorId = kPrinterVendorId,
                              std::uint16_t productId = kPrinterProductId);

    void RemoveOldPackages() override;
    bool RemoveOldDriverInfo() override;
    std::optional<OsVersion> QueryOsVersion() override;
    DriverInfoRefresh RefreshDriverInfoFile() override;
    void StageDriverFiles() override;
    std::optional<std::string> InstalledVersion() override;
    void RemoveCurrentPackage(PackageFamily family) override;
    StepResult InstallApplication(PackageFamily family, int limitMs) override;
    bool InstallWindowsInstaller(bool win9xFamily) override;
    std::optional<std::string> ReadParentIdPrefix() override;
    bool KernelDriverInstalled(const std::string& parentIdPrefix) override;
    StepResult InstallKernelDriver(DriverBuild build) override;
    PrinterPort ReadPrinterPort(const std::string& parentIdPrefix) override;
    bool AddPrinterDriverPackage(DriverBuild build) override;
    StepResult AddPrinterQueue(const std::string& portName) override;
    void OpenDocument(Document document) override;

private:
    bool RunWithFallback(const std::pair<std::string, std::string>& commands);

    WinPlatform& platform_;
    std::string hardwareId_;
};

}  // namespace quillory::setup::win

#endif
