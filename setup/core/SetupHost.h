// What the launcher needs the machine to do. The launcher's logic decides when
// and in which order; a host decides how, on its platform.
#ifndef QUILLORY_SETUP_HOST_H
#define QUILLORY_SETUP_HOST_H

#include <cstdint>
#include <optional>
#include <string>

namespace quillory::setup {

struct OsVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t platformId = 0;  // 1 is the Windows 9x platform
};

// The application packages built for each family of systems.
enum class PackageFamily { Win9x, XP, NT };

// Which build of a driver package suits the system.
enum class DriverBuild { Windows7, Vista };

enum class Document { ReadMe, Register, OperatorsManual, QuickRefCard, Website };

// What refreshing the kernel driver's information file could not find.
struct DriverInfoRefresh {
    bool windowsDirectoryMissing = false;
    bool systemDirectoryMissing = false;
};

// What became of a step that runs the system's tools.
enum class StepResult {
    Done,        // it ran and succeeded, or is still running after a limited wait
    NotStarted,  // its command could not be started at all
    Missing,     // something it needs is not on this machine; the host has named it and nothing ran
    Refused,     // the administrator's permission was not given
    Failed,      // it ran and failed
};

struct PrinterPort {
    enum class Status { Found, NoPrinter, NoPortNumber };
    Status status = Status::NoPrinter;
    std::string name;  // the port the printer queue is bound to
};

class SetupHost {
public:
    virtual ~SetupHost() = default;

    virtual void RemoveOldPackages() = 0;
    // Returns false when the system folder holding the old file cannot be found.
    virtual bool RemoveOldDriverInfo() = 0;
    virtual std::optional<OsVersion> QueryOsVersion() = 0;
    virtual DriverInfoRefresh RefreshDriverInfoFile() = 0;
    virtual void StageDriverFiles() = 0;

    // The installed application's version as stored, untrimmed; nothing when absent.
    virtual std::optional<std::string> InstalledVersion() = 0;
    virtual void RemoveCurrentPackage(PackageFamily family) = 0;
    // limitMs < 0 waits without limit. The Windows Installer's setup returns
    // whether it could be started.
    virtual StepResult InstallApplication(PackageFamily family, int limitMs) = 0;
    virtual bool InstallWindowsInstaller(bool win9xFamily) = 0;

    virtual std::optional<std::string> ReadParentIdPrefix() = 0;
    virtual bool KernelDriverInstalled(const std::string& parentIdPrefix) = 0;
    // Waits for the install to end.
    virtual StepResult InstallKernelDriver(DriverBuild build) = 0;
    virtual PrinterPort ReadPrinterPort(const std::string& parentIdPrefix) = 0;
    virtual bool AddPrinterDriverPackage(DriverBuild build) = 0;
    // Removes the older queues and creates "Tandor QV7E" on the port.
    virtual StepResult AddPrinterQueue(const std::string& portName) = 0;

    virtual void OpenDocument(Document document) = 0;
};

}  // namespace quillory::setup

#endif
