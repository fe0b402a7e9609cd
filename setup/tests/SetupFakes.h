// The test doubles of the launcher's tests: a Win32 stand-in that records every
// command line and answers registry reads from a table, recorded messages and a
// timer that the test ticks by hand.
#ifndef QUILLORY_SETUP_TESTS_FAKES_H
#define QUILLORY_SETUP_TESTS_FAKES_H

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SetupLauncher.h"
#include "WinPlatform.h"
#include "WindowsCommands.h"
#include "WindowsSetupHost.h"

namespace setuptest {

using namespace quillory::setup;

struct Started {
    std::string line;
    int limitMs;
    bool inheritHandles;
    bool asLauncher;
    bool operator==(const Started&) const = default;
};

class FakeWinPlatform : public win::WinPlatform {
public:
    std::vector<Started> runs;
    std::map<std::string, int> failuresLeft;  // times a command line will not start; -1 always
    std::map<std::pair<std::string, std::string>, std::string> texts;
    std::map<std::string, std::optional<std::uint32_t>> portKeys;  // printer key -> Port Number
    std::vector<std::string> keysRead;
    std::vector<std::string> fileOperations;
    std::optional<OsVersion> version = OsVersion{6, 1, 2};
    std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
    std::optional<std::string> systemDirectory = "C:\\WINDOWS\\system32";

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const Started& run : runs) lines.push_back(run.line);
        return lines;
    }

    bool RunAndWait(const std::string& line, int limitMs, bool inherit) override {
        runs.push_back({line, limitMs, inherit, false});
        return Starts(line);
    }
    bool RunAsLauncher(const std::string& line) override {
        runs.push_back({line, win::kWaitWithoutLimit, false, true});
        return Starts(line);
    }
    std::optional<std::string> ReadMachineText(const std::string& key, const std::string& value) override {
        keysRead.push_back(key);
        const auto found = texts.find({key, value});
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    win::RegistryNumber ReadMachineNumber(const std::string& key, const std::string&) override {
        keysRead.push_back(key);
        const auto found = portKeys.find(key);
        return found == portKeys.end() ? win::RegistryNumber{} : win::RegistryNumber{true, found->second};
    }
    std::optional<OsVersion> QueryOsVersion() override { return version; }
    std::optional<std::string> WindowsDirectory() override { return windowsDirectory; }
    std::optional<std::string> SystemDirectory() override { return systemDirectory; }
    void CopyReplacing(const std::string& from, const std::string& to) override {
        fileOperations.push_back("copy " + from + " -> " + to);
    }
    void CreateFolder(const std::string& path) override { fileOperations.push_back("mkdir " + path); }
    void RemoveFile(const std::string& path) override { fileOperations.push_back("delete " + path); }
    void ShellOpen(const std::string& target, bool minimized) override {
        fileOperations.push_back(std::string(minimized ? "open minimized " : "open ") + target);
    }

private:
    bool Starts(const std::string& line) {
        auto found = failuresLeft.find(line);
        if (found == failuresLeft.end() || found->second == 0) return true;
        if (found->second > 0) --found->second;
        return false;
    }
};

struct RecordedMessages : MessagePort {
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

struct FakeTimer : SetupTimer {
    bool running = false;
    int periodMs = 0;
    void Start(int period) override {
        running = true;
        periodMs = period;
    }
    void Stop() override { running = false; }
};

inline const std::string kHardwareId = "Vid_ffff&Pid_07e0";

// A launcher on the Windows host over the stand-in platform.
struct LauncherOnWindows {
    FakeWinPlatform platform;
    win::WindowsSetupHost host{platform};
    RecordedMessages messages;
    FakeTimer timer;
    SetupLauncher launcher{host, messages, timer};

    void Start(OsVersion version) {
        platform.version = version;
        launcher.Initialize();
        platform.runs.clear();
    }
    // Timer 3 fires only while it runs.
    void Tick() {
        if (timer.running) launcher.OnTimer();
    }
    void SetInstalledVersion(const std::string& version) {
        platform.texts[{win::kApplicationKey, "Version"}] = version;
    }
    void ConnectPrinter(const std::string& prefix, std::optional<std::uint32_t> port) {
        platform.texts[{win::DeviceInstanceKey(kHardwareId), "ParentIdPrefix"}] = prefix;
        platform.portKeys[win::PrinterInterfaceKey(kHardwareId, prefix)] = port;
    }
    void InstallKernelDriver(const std::string& prefix) {
        platform.texts[{win::FileTransferInterfaceKey(kHardwareId, prefix), "Driver"}] =
            "{36fc9e60-c465-11cf-8056-444553540000}\\0012";
    }
    bool Visible(int id) const { return launcher.Controls()[id].visible; }
    bool Enabled(int id) const { return launcher.Controls()[id].enabled; }
    const std::string& Title() const { return launcher.Controls()[id::kPageTitle].text; }
    const std::string& Text() const { return launcher.Controls()[id::kPageText].text; }
};

inline const OsVersion kWindows7{6, 1, 2};
inline const OsVersion kVista{6, 0, 2};
inline const OsVersion kWindows2000{5, 0, 2};
inline const OsVersion kWindowsXP{5, 1, 2};
inline const OsVersion kWindows95{4, 0, 1};

}  // namespace setuptest

#endif
