// A launcher on the Linux host, with a medium, a udev rules folder and a
// machine settings file of its own in a temporary folder. The system's tools
// are the real ones unless a test puts stand-ins into the folder `tools`,
// which is looked at first.
#ifndef QUILLORY_SETUP_TESTS_LINUX_MACHINE_H
#define QUILLORY_SETUP_TESTS_LINUX_MACHINE_H

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

#include "LinuxSetupHost.h"
#include "SetupFakes.h"

namespace setuptest {

using quillory::setup::linux_host::LinuxHostConfig;
using quillory::setup::linux_host::LinuxSetupHost;

inline void WriteFile(const std::string& path, const std::string& content) { std::ofstream(path) << content; }

inline void WriteProgram(const std::string& path, const std::string& script) {
    WriteFile(path, script);
    QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

inline const char* const kAccessRule =
    "SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"ffff\", ATTR{idProduct}==\"07e0\", "
    "TAG+=\"uaccess\"\n";

struct LauncherOnLinux : ControlQueries {
    QTemporaryDir dir;
    std::string root = dir.path().toStdString();
    LinuxHostConfig config;
    std::vector<std::string> opened;
    RecordedMessages messages;
    FakeTimer timer;
    std::unique_ptr<LinuxSetupHost> host;
    std::unique_ptr<SetupLauncher> launcher;

    LauncherOnLinux() {
        for (const char* folder : {"tools", "medium", "rules.d", "package-rules.d"}) QDir(dir.path()).mkdir(folder);
        config.mediumFolder = root + "/medium";
        config.machineSettingsFiles = {root + "/Orvale_Quillory.conf"};
        config.udevRulesFolders = {root + "/rules.d", root + "/package-rules.d"};
        config.toolFolders.insert(config.toolFolders.begin(), root + "/tools");
        config.openUrl = [this](const std::string& url) { opened.push_back(url); };
        WriteFile(config.mediumFolder + "/60-quillory.rules", kAccessRule);
    }
    LinuxSetupHost& Host() {
        if (!host) host = std::make_unique<LinuxSetupHost>(config, messages);
        return *host;
    }
    // Started and past its first tick, with Quillory installed or not.
    void Start(bool installed) {
        if (installed) WriteFile(config.machineSettingsFiles.front(), "[General]\nVersion=2.01\ndir=/usr/bin\n");
        launcher = std::make_unique<SetupLauncher>(Host(), messages, timer);
        launcher->Initialize();
        launcher->OnTimer();
    }
    SetupLauncher& Launcher() override { return *launcher; }
    void InstallRule() { WriteFile(config.udevRulesFolders.back() + "/60-quillory.rules", kAccessRule); }
};

}  // namespace setuptest

#endif
