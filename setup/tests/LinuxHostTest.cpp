// The Linux host against stand-ins for pkexec, apt-get, udevadm, lpinfo and
// lpadmin put first on PATH; each records its arguments, pkexec then runs its
// command as the real one would.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LinuxSetupHost.h"
#include "SetupFakes.h"
#include "SetupTexts.h"

using namespace setuptest;
using namespace quillory::setup::linux_host;

namespace {

const char* const kPrinterUri = "usb://Tandor/QV7E?serial=123456789ab";

class LinuxHost : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = dir_.path().toStdString();
        for (const char* folder : {"bin", "medium", "rules.d", "package-rules.d"}) QDir(dir_.path()).mkdir(folder);
        config_.mediumFolder = root_ + "/medium";
        config_.machineSettingsPath = root_ + "/Orvale_Quillory.conf";
        config_.udevRulesFolders = {root_ + "/rules.d", root_ + "/package-rules.d"};
        config_.openUrl = [this](const std::string& url) { opened_.push_back(url); };

        StandIn("pkexec", "PKEXEC_UID=0 exec \"$@\"");
        for (const char* tool : {"apt-get", "udevadm", "lpadmin"}) StandIn(tool, "");
        // CUPS lists devices to its administrators only.
        StandIn("lpinfo", "[ -n \"$PKEXEC_UID\" ] || exit 1\n"
                          "echo 'network ipp'\necho 'direct usb://Other/Scanner'\necho 'direct " +
                              std::string(kPrinterUri) + "'");
        savedPath_ = std::getenv("PATH");
        setenv("PATH", (root_ + "/bin:/usr/bin:/bin").c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    void StandIn(const std::string& name, const std::string& body) {
        const std::string path = root_ + "/bin/" + name;
        std::ofstream(path) << "#!/bin/sh\n{ printf '%s' " << name << "; for a in \"$@\"; do printf ' [%s]' \"$a\"; done;"
                            << " echo; } >> '" << root_ << "/log'\n"
                            << body << "\n";
        QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void WriteFile(const std::string& path, const std::string& content) { std::ofstream(path) << content; }
    std::vector<std::string> Log() const {
        std::ifstream file(root_ + "/log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    QTemporaryDir dir_;
    std::string root_;
    std::string savedPath_;
    LinuxHostConfig config_;
    std::vector<std::string> opened_;
    RecordedMessages messages_;
};

}  // namespace

TEST_F(LinuxHost, InstallsTheNewestPackageOfTheMediumThroughThePrivilegePrompt) {
    LinuxSetupHost host(config_, messages_);
    EXPECT_FALSE(host.InstallApplication(PackageFamily::NT, 3000));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].find("quillory_*.deb"), std::string::npos);
    EXPECT_TRUE(Log().empty());

    WriteFile(config_.mediumFolder + "/quillory_2.9_amd64.deb", "");
    WriteFile(config_.mediumFolder + "/quillory_2.10_amd64.deb", "");
    EXPECT_TRUE(host.InstallApplication(PackageFamily::NT, 3000));
    const std::string package = config_.mediumFolder + "/quillory_2.10_amd64.deb";
    EXPECT_EQ(Log(), (std::vector<std::string>{"pkexec [apt-get] [install] [-y] [--reinstall] [" + package + "]",
                                               "apt-get [install] [-y] [--reinstall] [" + package + "]"}));
}

TEST_F(LinuxHost, InstallsTheUsbAccessRuleAndReloadsUdev) {
    LinuxSetupHost host(config_, messages_);
    EXPECT_FALSE(host.InstallKernelDriver(DriverBuild::Windows7));  // not on the medium
    EXPECT_FALSE(host.KernelDriverInstalled(""));
    // The package's rule counts as installed, wherever the launcher would put its own.
    WriteFile(config_.udevRulesFolders.back() + "/60-quillory.rules", "");
    EXPECT_TRUE(host.KernelDriverInstalled(""));
    QFile::remove(QString::fromStdString(config_.udevRulesFolders.back() + "/60-quillory.rules"));

    const std::string rule = "SUBSYSTEM==\"usb\", TAG+=\"uaccess\"\n";
    WriteFile(config_.mediumFolder + "/60-quillory.rules", rule);
    EXPECT_TRUE(host.InstallKernelDriver(DriverBuild::Windows7));
    EXPECT_TRUE(host.KernelDriverInstalled(""));
    std::ifstream installed(config_.udevRulesFolders.front() + "/60-quillory.rules");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(installed), {}), rule);
    const auto log = Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].rfind("pkexec [sh] [-c]", 0), 0u);
    EXPECT_EQ(log[1], "udevadm [control] [--reload]");
    EXPECT_EQ(log[2], "udevadm [trigger] [--subsystem-match=usb]");
}

TEST_F(LinuxHost, FindsThePrinterAsCupsSeesItAndMakesItsQueue) {
    LinuxSetupHost host(config_, messages_);
    const PrinterPort port = host.ReadPrinterPort("");
    EXPECT_EQ(port.status, PrinterPort::Status::Found);
    EXPECT_EQ(port.name, kPrinterUri);

    host.AddPrinterQueue(port.name);
    const std::vector<std::string> expected = {
        "lpinfo [-v]",
        "pkexec [lpinfo] [-v]",
        "lpinfo [-v]",
        "lpadmin [-x] [Tandor QV7]",
        "lpadmin [-x] [Tandor QV7E]",
        "lpadmin [-x] [QV7]",
        "lpadmin [-x] [QV7E]",
        std::string("lpadmin [-p] [Tandor QV7E] [-E] [-v] [") + kPrinterUri +
            "] [-D] [Tandor QV7E Printer] [-m] [raw]"};
    auto log = Log();
    log.erase(log.begin() + 3);  // the pkexec line of the queue script
    EXPECT_EQ(log, expected);

    EXPECT_EQ(LinuxSetupHost::PrinterUriFrom("direct usb://Other/Scanner\nnetwork socket\n"), "");
}

TEST_F(LinuxHost, NamesAMissingTool) {
    setenv("PATH", (root_ + "/bin").c_str(), 1);
    QFile::remove(QString::fromStdString(root_ + "/bin/pkexec"));
    WriteFile(config_.mediumFolder + "/60-quillory.rules", "");
    LinuxSetupHost host(config_, messages_);
    EXPECT_FALSE(host.InstallKernelDriver(DriverBuild::Windows7));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_NE(messages_.shown[0].find("\"pkexec\""), std::string::npos);
}

TEST_F(LinuxHost, TheLauncherReadsTheVersionInstallsTheRuleAndAddsThePrinterOnTheWindows7Road) {
    LinuxSetupHost host(config_, messages_);
    EXPECT_FALSE(host.InstalledVersion());
    WriteFile(config_.machineSettingsPath, "[General]\nVersion=2.01\ndir=/usr\n");
    EXPECT_EQ(host.InstalledVersion(), "2.01");
    WriteFile(config_.mediumFolder + "/60-quillory.rules", "");
    FakeTimer timer;
    SetupLauncher launcher(host, messages_, timer);
    launcher.Initialize();
    EXPECT_EQ(launcher.osCode(), 6100);
    launcher.OnTimer();
    EXPECT_TRUE(launcher.Controls()[id::kVistaDrivers].enabled);

    launcher.OnButton(id::kVistaDrivers);
    launcher.OnButton(id::kInstall);
    EXPECT_TRUE(host.KernelDriverInstalled(""));
    EXPECT_TRUE(launcher.Controls()[id::kNext].visible);
    launcher.OnButton(id::kNext);
    EXPECT_EQ(launcher.Controls()[id::kPageTitle].text, quillory::setup::texts::kPrinterAddedTitle);
    EXPECT_EQ(Log().back().rfind("lpadmin [-p] [Tandor QV7E]", 0), 0u);
    EXPECT_TRUE(messages_.shown.empty());

    launcher.OnButton(id::kReadMe);
    launcher.OnButton(id::kWebsite);
    EXPECT_EQ(opened_, (std::vector<std::string>{"file://" + config_.mediumFolder + "/README.txt",
                                                 "https://www.orvale.example/"}));
}
