// The launcher's host on Linux: the same steps done the way a Linux desktop
// does them (see docs/setup.md): the Debian package, the udev access rule, a
// CUPS queue, all changes to the system through the desktop's privilege prompt.
#ifndef QUILLORY_SETUP_LINUX_SETUP_HOST_H
#define QUILLORY_SETUP_LINUX_SETUP_HOST_H

#include <functional>
#include <optional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ProcessRunner.h"
#include "SetupHost.h"
#include "SetupPorts.h"

namespace quillory::setup::linux_host {

inline constexpr const char* kRuleFileName = "60-quillory.rules";
// CUPS refuses blanks in queue names, so the queue the system calls
// "Tandor QV7E" is "Tandor_QV7E" here; its description carries the printer's
// full name, which is what print dialogs show.
inline constexpr const char* kQueueName = "Tandor_QV7E";
inline constexpr const char* kQueueDescription = "Tandor QV7E Printer";
// The older queues "Tandor QV7", "Tandor QV7E", "QV7" and "QV7E" under the
// names CUPS can hold.
inline constexpr const char* kOldQueueNames[] = {"Tandor_QV7", "Tandor_QV7E", "QV7", "QV7E"};

struct LinuxHostConfig {
    std::string mediumFolder;  // holds the package, the rule and the documents
    // Where `Version` may be, most important first: the first file that exists counts.
    std::vector<std::string> machineSettingsFiles;
    // Where the access rule may already be: the launcher installs it into the
    // first, the Debian package into /usr/lib, `cmake --install` into /usr/local/lib.
    std::vector<std::string> udevRulesFolders = {"/etc/udev/rules.d", "/usr/lib/udev/rules.d",
                                                 "/usr/local/lib/udev/rules.d"};
    // The system's tools are taken from these folders by their full path, never
    // looked up on the caller's PATH: nothing in the environment of the user
    // may choose what runs as root.
    std::vector<std::string> toolFolders = {"/usr/sbin", "/usr/bin", "/sbin", "/bin"};
    // The desktop's privilege prompt, which runs one command as root once the
    // administrator agrees. Empty runs such commands directly, for a caller
    // that is root already.
    std::string privilegePrompt = "pkexec";
    std::function<void(const std::string& url)> openUrl;
};

// The machine-wide settings files in the order they are looked for: the one
// named by overridePath alone when it is set; otherwise Orvale/Orvale_Quillory.conf
// in each folder of xdgConfigDirs (/etc/xdg when unset), then under the
// etc/xdg of the prefix the launcher runs from (the folder above its own).
std::vector<std::string> MachineSettingsFiles(const std::string& overridePath, const std::string& xdgConfigDirs,
                                              const std::string& launcherFolder);

// The launcher's own folder, the machine settings files from
// $QUILLORY_MACHINE_SETTINGS and $XDG_CONFIG_DIRS, and the desktop's document opener.
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
    StepResult InstallApplication(PackageFamily family, int limitMs) override;
    bool InstallWindowsInstaller(bool) override { return false; }
    std::optional<std::string> ReadParentIdPrefix() override { return std::nullopt; }
    bool KernelDriverInstalled(const std::string& parentIdPrefix) override;
    StepResult InstallKernelDriver(DriverBuild build) override;
    PrinterPort ReadPrinterPort(const std::string& parentIdPrefix) override;
    bool AddPrinterDriverPackage(DriverBuild) override { return true; }
    StepResult AddPrinterQueue(const std::string& portName) override;
    void OpenDocument(Document document) override;

    // The printer's USB printing interface among the lines of `lpinfo -v`.
    static std::string PrinterUriFrom(const std::string& lpinfoOutput);
    // The (vendor, product) ids, four lower-case hex digits each, that the
    // lines of a udev rule file match on.
    static std::vector<std::pair<std::string, std::string>> UsbIdsInRule(const std::string& ruleText);

private:
    // The full paths of the tools, in order; empty after naming the first missing one.
    std::vector<std::string> FindTools(std::initializer_list<const char*> tools);
    // Runs a program as root through the privilege prompt, or directly when
    // there is none; nothing when the prompt is missing (it is named).
    std::optional<ProcessResult> RunAsRoot(const std::string& program, std::vector<std::string> arguments,
                                           int limitMs);
    // The newest Quillory package on the medium and the library packages of
    // its build; empty when the medium holds no Quillory package.
    std::vector<std::string> PackagePaths() const;

    LinuxHostConfig config_;
    MessagePort& messages_;
};

}  // namespace quillory::setup::linux_host

#endif
