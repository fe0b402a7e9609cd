// The few Win32 services the Windows host is made of. Only Win32Platform.cpp
// implements them with the real calls; everything above it is plain C++.
#ifndef QUILLORY_SETUP_WIN_PLATFORM_H
#define QUILLORY_SETUP_WIN_PLATFORM_H

#include <cstdint>
#include <optional>
#include <string>

#include "SetupHost.h"

namespace quillory::setup::win {

inline constexpr int kWaitWithoutLimit = -1;

struct RegistryNumber {
    bool keyOpened = false;
    std::optional<std::uint32_t> value;
};

class WinPlatform {
public:
    virtual ~WinPlatform() = default;

    // CreateProcessA in a new console; waits up to limitMs (or without limit).
    // Returns whether the process started; its exit code is of no interest.
    virtual bool RunAndWait(const std::string& commandLine, int limitMs, bool inheritHandles) = 0;
    // CreateProcessAsUserA with the launcher's own token, waited for without limit.
    virtual bool RunAsLauncher(const std::string& commandLine) = 0;

    // Values under HKEY_LOCAL_MACHINE, opened for reading only. Text is read at
    // whatever length it is stored.
    virtual std::optional<std::string> ReadMachineText(const std::string& key, const std::string& value) = 0;
    virtual RegistryNumber ReadMachineNumber(const std::string& key, const std::string& value) = 0;

    virtual std::optional<OsVersion> QueryOsVersion() = 0;
    virtual std::optional<std::string> WindowsDirectory() = 0;
    virtual std::optional<std::string> SystemDirectory() = 0;
    virtual void CopyReplacing(const std::string& from, const std::string& to) = 0;
    virtual void CreateFolder(const std::string& path) = 0;
    virtual void RemoveFile(const std::string& path) = 0;
    virtual void ShellOpen(const std::string& target, bool minimized) = 0;
};

}  // namespace quillory::setup::win

#endif
