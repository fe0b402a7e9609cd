// The Linux host with stand-ins for the tools that would change this machine
// (pkexec, apt-get, udevadm, lpinfo) in its own tool folder; each records its
// arguments, and pkexec runs its command as the real one would or answers as
// a dismissed or refused prompt does. `sh` and `install` are the real ones.
// The printer queue meets a real scheduler in CupsQueueTest.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "LinuxMachine.h"
#include "SetupTexts.h"

using namespace setuptest;
namespace texts = quillory::setup::texts;

namespace {

class LinuxHost : public ::testing::Test {
protected:
    void SetUp() override {
        StandIn("pkexec", "PKEXEC_UID=0 exec \"$@\"");
        for (const char* tool : {"apt-get", "udevadm"}) StandIn(tool, "");
        StandIn("lpinfo", "[ -n \"$PKEXEC_UID\" ] || exit 1\n"
                          "echo 'network ipp://host/printers/x?uri=usb://Tandor/QV7E'\n"
                          "echo 'direct usb://Other/Scanner \"QV7E\"'\n"
                          "echo 'direct usb://Tandor/QV7E?serial=123456789ab \"Tandor QV7E\"'");
        // Whatever the caller's PATH offers must never be what runs.
        QDir(machine_.dir.path()).mkdir("path");
        for (const char* tool : {"pkexec", "sh", "install", "apt-get", "udevadm", "lpinfo"}) {
            WriteProgram(machine_.root + "/path/" + tool,
                         "#!/bin/sh\necho 'from PATH' >> '" + machine_.root + "/log'\n");
        }
        savedPath_ = std::getenv("PATH");
        setenv("PATH", (machine_.root + "/path:" + savedPath_).c_str(), 1);
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    void StandIn(const std::string& name, const std::string& body) {
        WriteProgram(
            machine_.root + "/tools/" + name,
            "#!/bin/sh\n{ printf '%s' " + name +
                "; for a in \"$@\"; do printf ' [%s]' \"$(printf '%s' \"$a\" | tr '\\n' ' ')\"; done; echo; } >> '" +
                machine_.root + "/log'\n" + body + "\n");
    }
    std::vector<std::string> Log() const {
        std::ifstream file(machine_.root + "/log");
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }
    std::string Tool(const std::string& name) const { return machine_.root + "/tools/" + name; }

    LauncherOnLinux machine_;
    std::string savedPath_;
};

}  // namespace

TEST_F(LinuxHost, InstallsTheNewestPackageOfTheMediumWithItsLibraryByTheFullPathOfApt) {
    const std::string medium = machine_.config.mediumFolder + "/";
    for (const char* other : {"quillory_2.9_amd64.deb", "libqv7-sys-api2_2.9_amd64.deb",
                              "libqv7-sys-api-dev_2.10_amd64.deb", "libqv7-sys-api2_2.10_i386.deb"}) {
        WriteFile(medium + other, "");
    }
    WriteFile(medium + "quillory_2.10_amd64.deb", "");
    WriteFile(medium + "libqv7-sys-api2_2.10_amd64.deb", "");
    const std::string install = "[install] [-y] [--reinstall] [" + medium + "quillory_2.10_amd64.deb] [" + medium +
                                "libqv7-sys-api2_2.10_amd64.deb]";
    EXPECT_EQ(machine_.Host().InstallApplication(PackageFamily::NT, 3000), StepResult::Done);
    EXPECT_EQ(Log(), (std::vector<std::string>{"pkexec [" + Tool("apt-get") + "] " + install, "apt-get " + install}));
    StandIn("apt-get", "exit 100");
    EXPECT_EQ(machine_.Host().InstallApplication(PackageFamily::NT, 3000), StepResult::Failed);
}

TEST_F(LinuxHost, InstallsTheUsbAccessRuleAndTellsUdevAboutThePrintersIdsOnly) {
    const std::string rule =
        std::string("# ATTR{idVendor}==\"dead\", ATTR{idProduct}==\"beef\"\n") + kAccessRule +
        "SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"1A2B\", ATTRS{idProduct}==\"3c4d\", TAG+=\"uaccess\"\n";
    WriteFile(machine_.config.mediumFolder + "/60-quillory.rules", rule);
    LinuxSetupHost& host = machine_.Host();
    EXPECT_FALSE(host.KernelDriverInstalled(""));
    EXPECT_EQ(host.InstallKernelDriver(DriverBuild::Windows7), StepResult::Done);
    EXPECT_TRUE(host.KernelDriverInstalled(""));
    std::ifstream installed(machine_.config.udevRulesFolders.front() + "/60-quillory.rules");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(installed), {}), rule);

    // udev hears of the ids of the rule's own lines only, in its own spelling.
    std::string log;
    for (const std::string& line : Log()) log += line + "\n";
    EXPECT_NE(log.find("[--attr-match=idVendor=1a2b] [--attr-match=idProduct=3c4d]"), std::string::npos) << log;
    EXPECT_NE(log.find("[--attr-match=idVendor=ffff] [--attr-match=idProduct=07e0]"), std::string::npos) << log;
    EXPECT_EQ(log.find("dead"), std::string::npos) << log;
}

TEST_F(LinuxHost, ARefusedOrFailedDriverInstallNeverSaysInstalledNorLeadsOn) {
    struct Case {
        const char* what;
        const char* pkexec;
        const char* udevadm;
        bool rulesFolderIsAFile;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"prompt dismissed", "exit 126", "", false, texts::kDriverMissingTitle, texts::kDriverRefusedText},
        {"not authorised", "exit 127", "", false, texts::kDriverMissingTitle, texts::kDriverRefusedText},
        {"udevadm fails", "exec \"$@\"", "exit 1", false, texts::kProblemTitle, texts::kDriverFailedText},
        {"install fails", "exec \"$@\"", "", true, texts::kProblemTitle, texts::kDriverFailedText},
    };
    for (const Case& c : cases) {
        LauncherOnLinux machine;  // a fresh machine per case, with the stand-ins of this fixture
        machine.config.toolFolders.front() = machine_.root + "/tools";
        StandIn("pkexec", c.pkexec);
        StandIn("udevadm", c.udevadm);
        if (c.rulesFolderIsAFile) {
            QDir(QString::fromStdString(machine.root)).rmdir("rules.d");
            WriteFile(machine.config.udevRulesFolders.front(), "");
        }
        machine.Start(true);
        machine.Press({id::kVistaDrivers, id::kInstall});
        EXPECT_EQ(machine.Title(), c.title) << c.what;
        EXPECT_EQ(machine.Text(), c.text) << c.what;
        EXPECT_FALSE(machine.Visible(id::kNext) || machine.Enabled(id::kNext)) << c.what;
        EXPECT_FALSE(machine.launcher->addPrinterMode()) << c.what;
    }
    for (const std::string& line : Log()) EXPECT_NE(line, "from PATH");
}

TEST_F(LinuxHost, InstallQuilloryNamesWhatIsMissingAndKeepsTheWindowOpen) {
    // A prompt of a name no machine has, so that its absence does not depend on this one.
    machine_.config.privilegePrompt = "test-prompt";
    StandIn("test-prompt", "exit 126");
    machine_.Start(false);
    machine_.Press({id::kInstallQuillory});  // no package on the medium
    WriteFile(machine_.config.mediumFolder + "/quillory_2.1.3_amd64.deb", "");
    machine_.Press({id::kInstallQuillory});
    QFile::remove(QString::fromStdString(Tool("test-prompt")));
    machine_.Press({id::kInstallQuillory});
    ASSERT_EQ(machine_.messages.shown.size(), 3u);
    EXPECT_NE(machine_.messages.shown[0].find("quillory_*.deb"), std::string::npos);
    EXPECT_EQ(machine_.messages.shown[1], texts::kInstallRefused);
    EXPECT_NE(machine_.messages.shown[2].find("\"test-prompt\""), std::string::npos);
    EXPECT_FALSE(machine_.launcher->CloseRequested());
    EXPECT_TRUE(machine_.timer.running);
}

// The stand-in lists devices only through the prompt, as CUPS does to its administrators only.
TEST_F(LinuxHost, FindsThePrinterInTheDeviceUriColumnAsCupsAdministrator) {
    const PrinterPort port = machine_.Host().ReadPrinterPort("");
    EXPECT_EQ(port.status, PrinterPort::Status::Found);
    EXPECT_EQ(port.name, "usb://Tandor/QV7E?serial=123456789ab");
    EXPECT_EQ(LinuxSetupHost::PrinterUriFrom("usb://QV7E direct\nnetwork ipp://h/p?usb://QV7E\n"), "");
}

TEST(LinuxMachineSettings, TheOverrideAloneElseEachXdgFolderThenTheLaunchersPrefix) {
    using quillory::setup::linux_host::MachineSettingsFiles;
    const std::string file = "/Orvale/Orvale_Quillory.conf";
    EXPECT_EQ(MachineSettingsFiles("/t/m.conf", "/a", "/opt/q/bin"), std::vector<std::string>{"/t/m.conf"});
    EXPECT_EQ(MachineSettingsFiles("", "relative::/a/:/b", "/opt/q/bin"),
              (std::vector<std::string>{"/a" + file, "/b" + file, "/opt/q/etc/xdg" + file}));

    // The first file that exists counts, even when it holds no version.
    LauncherOnLinux machine;
    const std::string root = machine.root;
    for (const char* folder : {"a/Orvale", "b/Orvale", "etc/xdg/Orvale"}) QDir(machine.dir.path()).mkpath(folder);
    machine.config.machineSettingsFiles =
        MachineSettingsFiles("", root + "/none:" + root + "/a:" + root + "/b", root + "/bin");
    WriteFile(root + "/b" + file, "[General]\nVersion=1.09\n");
    WriteFile(root + "/etc/xdg" + file, "[General]\nVersion=2.01\n");
    EXPECT_EQ(machine.Host().InstalledVersion(), "1.09");
    WriteFile(root + "/a" + file, "[General]\ndir=/usr/bin\n");
    EXPECT_EQ(machine.Host().InstalledVersion(), std::nullopt);
    QFile::remove(QString::fromStdString(root + "/a" + file));
    QFile::remove(QString::fromStdString(root + "/b" + file));
    EXPECT_EQ(machine.Host().InstalledVersion(), "2.01");
}
