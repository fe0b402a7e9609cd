// The test doubles of the launcher's tests: a Win32 stand-in that records every
// command line and answers registry reads from a table, recorded messages and a
// timer that the test ticks by hand.
#ifndef QUILLORY_SETUP_TESTS_FAKES_H
#define QUILLORY_SETUP_TESTS_FAKES_H

#include <initializer_list>
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

class FakeWinPlatform : public win::WinPlatform {
public:
    std::vector<std::string> runs;  // every command line started, in order
    std::map<std::string, int> failuresLeft;  // part of a command line -> times it will not start; -1 always
    std::map<std::pair<std::string, std::string>, std::string> texts;
    std::map<std::string, std::optional<std::uint32_t>> portKeys;  // printer key -> Port Number
    std::vector<std::string> fileOperations;
    std::optional<OsVersion> version = OsVersion{6, 1, 2};
    std::optional<std::string> windowsDirectory = "C:\\WINDOWS";
    std::optional<std::string> systemDirectory = "C:\\WINDOWS\\system32";

    bool RunAndWait(const std::string& line, int, bool) override { return Starts(line); }
    bool RunAsLauncher(const std::string& line) override { return Starts(line); }
    std::optional<std::string> ReadMachineText(const std::string& key, const std::string& value) override {
        const auto found = texts.find({key, value});
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    win::RegistryNumber ReadMachineNumber(const std::string& key, const std::string&) override {
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
        runs.push_back(line);
        for (auto& [part, left] : failuresLeft) {
            if (left == 0 || line.find(part) == std::string::npos) continue;
            if (left > 0) --left;
            return false;
        }
        return true;
    }
};

struct RecordedMessages : MessagePort {
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

struct FakeTimer : SetupTimer {
    bool running = false;
    void Start(int) override { running = true; }
    void Stop() override { running = false; }
};

inline const std::string kHardwareId = "Vid_ffff&Pid_07e0";

// What a test asks of the launcher's controls, whichever host it runs on.
struct ControlQueries {
    virtual ~ControlQueries() = default;
    virtual SetupLauncher& Launcher() = 0;
    const SetupLauncher& Launcher() const { return const_cast<ControlQueries*>(this)->Launcher(); }
    void Press(std::initializer_list<int> buttons) {
        for (int button : buttons) Launcher().OnButton(button);
    }
    bool Visible(int id) const { return Launcher().Controls()[id].visible; }
    bool Enabled(int id) const { return Launcher().Controls()[id].enabled; }
    const std::string& Title() const { return Launcher().Controls()[id::kPageTitle].text; }
    const std::string& Text() const { return Launcher().Controls()[id::kPageText].text; }
};

// A launcher on the Windows host over the stand-in platform.
struct LauncherOnWindows : ControlQueries {
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
    SetupLauncher& Launcher() override { return launcher; }
};

inline const OsVersion kWindows7{6, 1, 2};
inline const OsVersion kVista{6, 0, 2};
inline const OsVersion kWindowsXP{5, 1, 2};
inline const OsVersion kWindows95{4, 0, 1};

}  // namespace setuptest

#endif
