// The launcher's host on Linux: the same steps done the way a Linux desktop
// does them (see docs/setup.md): the Debian package, the udev access rule, a
// CUPS queue, all changes to the system through the desktop's privilege prompt.
#ifndef QUILLORY_SETUP_LINUX_SETUP_HOST_H
#define QUILLORY_SETUP_LINUX_SETUP_HOST_H

#include <functional>
#include <string>
#include <vector>

#include "SetupHost.h"
#include "SetupPorts.h"

namespace quillory::setup::linux_host {

inline constexpr const char* kRuleFileName = "60-quillory.rules";
inline constexpr const char* kQueueName = "Tandor QV7E";
inline constexpr const char* kQueueComment = "Tandor QV7E Printer";

struct LinuxHostConfig {
    std::string mediumFolder;  // holds the package, the rule and the documents
    std::string machineSettingsPath;
    // Where the access rule may already be: the launcher installs it into the
    // first, the Debian package into /usr/lib, `cmake --install` into /usr/local/lib.
    std::vector<std::string> udevRulesFolders = {"/etc/udev/rules.d", "/usr/lib/udev/rules.d",
                                                 "/usr/local/lib/udev/rules.d"};
    std::function<void(const std::string& url)> openUrl;
};

// The launcher's own folder, the machine settings file ($QUILLORY_MACHINE_SETTINGS
// or /etc/xdg/Orvale/Orvale_Quillory.conf) and the desktop's document opener.
LinuxHostConfig DefaultLinuxHostConfig();

class LinuxSetupHost : public SetupHost {
public:
    LinuxSetupHost(LinuxHostConfig config, MessagePort& messages);

    void RemoveOldPackages() override {}
    bool RemoveOldDriverInfo() override { return true; }
    std::optional<OsVersion> QueryOsVersion() override;
    DriverInfoRefresh RefreshDriverInfoFile() override { return {}; }
    void StageDriverFiles() override {}
    std::optional<std::string> InstalledVersion() override;
    void RemoveCurrentPackage(PackageFamily) override {}
    bool InstallApplication(PackageFamily family, int limitMs) override;
    bool InstallWindowsInstaller(bool) override { return false; }
    std::optional<std::string> ReadParentIdPrefix() override { return std::nullopt; }
    bool KernelDriverInstalled(const std::string& parentIdPrefix) override;
    bool InstallKernelDriver(DriverBuild build) override;
    PrinterPort ReadPrinterPort(const std::string& parentIdPrefix) override;
    bool AddPrinterDriverPackage(DriverBuild) override { return true; }
    void AddPrinterQueue(const std::string& portName) override;
    void OpenDocument(Document document) override;

    // The printer's USB printing interface among the lines of `lpinfo -v`.
    static std::string PrinterUriFrom(const std::string& lpinfoOutput);

private:
    bool ToolsPresent(std::initializer_list<const char*> tools);
    std::string PackagePath() const;

    LinuxHostConfig config_;
    MessagePort& messages_;
};

}  // namespace quillory::setup::linux_host

#endif
