// The printer queue step against a real print scheduler: a private cupsd per
// test, in a temporary folder with its own configuration, spool, state and
// logs, listening on a local socket there. Its ServerBin holds the real
// scheduler helpers and one backend of our own, `usb`, that reports a QV7E.
// The launcher runs the real lpinfo, lpadmin and lpstat, as root directly
// instead of through the privilege prompt.
#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include "LinuxMachine.h"
#include "SetupTexts.h"

using namespace setuptest;
namespace texts = quillory::setup::texts;

namespace {

const char* const kSystemServerBin = "/usr/lib/cups";
const char* const kPrinterUri = "usb://Tandor/QV7E?serial=123456789ab";

struct ToolRun {
    int exitCode = -1;
    std::string output;
};

// A CUPS client tool run against whatever CUPS_SERVER names, in the C locale
// so that its words can be read.
ToolRun Cups(const QString& tool, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    process.waitForFinished(-1);
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, (process.readAllStandardOutput() + process.readAllStandardError()).toStdString()};
}

// Why the scheduler cannot be met on this machine; empty when it can.
std::string WhyNoScheduler() {
    if (std::getenv("QUILLORY_PACKAGE_BUILD")) {
        return "a package build starts no print scheduler";
    }
    if (geteuid() != 0) {
        return "cupsd runs a backend of the test's own only when started by root; run the tests as root";
    }
    for (const char* program : {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/sbin/lpinfo", "/usr/bin/lpstat",
                                "/usr/lib/cups/daemon/cups-deviced", "/usr/lib/cups/daemon/cups-exec"}) {
        if (!QFile::exists(program)) {
            return std::string(program) + " is missing: install the Debian package cups (scripts/install-deps.sh does)";
        }
    }
    return {};
}

class PrivateScheduler {
public:
    explicit PrivateScheduler(const std::string& dir) : dir_(dir), socket_(dir + "/cups.sock") {}
    ~PrivateScheduler() { Stop(); }

    // Changes to its printers may be refused to everyone, as a locked-down
    // scheduler does. Returns whether it answers.
    bool Start(bool refuseChanges) {
        QDir().mkpath(QString::fromStdString(dir_));
        WriteConfiguration(refuseChanges);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start("/usr/sbin/cupsd", {"-f", "-c", Path("cupsd.conf"), "-s", Path("cups-files.conf")});
        if (!process_.waitForStarted()) return false;
        setenv("CUPS_SERVER", socket_.c_str(), 1);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline && process_.state() == QProcess::Running) {
            if (QFile::exists(QString::fromStdString(socket_)) && Cups("lpstat", {"-r"}).exitCode == 0) return true;
            QThread::msleep(20);
        }
        return false;
    }
    void Stop() {
        if (process_.state() != QProcess::NotRunning) {
            process_.terminate();
            if (!process_.waitForFinished(10000)) process_.kill();
            process_.waitForFinished();
        }
    }
    std::string Log() {
        QFile errors(Path("log/error_log"));
        errors.open(QIODevice::ReadOnly);
        return process_.readAll().toStdString() + errors.readAll().toStdString();
    }

private:
    QString Path(const std::string& name) const { return QString::fromStdString(dir_ + "/" + name); }

    void WriteConfiguration(bool refuseChanges) {
        const std::string changes = refuseChanges ? "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer>\n"
                                                    "    AuthType Default\n    Require user nobody\n  </Limit>\n"
                                                  : "";
        WriteFile(dir_ + "/cupsd.conf",
                  "Listen " + socket_ +
                      "\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                      "<Policy default>\n" +
                      changes + "  <Limit All>\n    Order allow,deny\n    Allow all\n  </Limit>\n</Policy>\n");
        for (const char* folder : {"spool", "tmp", "cache", "state", "log"}) QDir().mkpath(Path(folder));
        const std::string& d = dir_;
        const std::string files = "ServerRoot " + d + "\nServerBin " + d + "/bin\nRequestRoot " + d +
                                  "/spool\nTempDir " + d + "/tmp\nCacheDir " + d + "/cache\nStateDir " + d +
                                  "/state\nErrorLog " + d + "/log/error_log\nAccessLog " + d +
                                  "/log/access_log\nPageLog " + d + "/log/page_log\nFileDevice No\n";
        WriteFile(dir_ + "/cups-files.conf", files);

        // The scheduler's own helpers, and a backend that is the printer. cupsd
        // runs a backend as root only when root owns it and no one else may
        // write or run it.
        QDir().mkpath(Path("bin/daemon"));
        QDir().mkpath(Path("bin/backend"));
        for (const char* helper : {"cups-deviced", "cups-driverd", "cups-exec"}) {
            QFile::link(QString(kSystemServerBin) + "/daemon/" + helper, Path(std::string("bin/daemon/") + helper));
        }
        WriteProgram(dir_ + "/bin/backend/usb",
                     std::string("#!/bin/sh\n[ $# -eq 0 ] || exit 1\n"
                                 "echo 'direct ") +
                         kPrinterUri + " \"Tandor QV7E\" \"Tandor QV7E\" \"MFG:Tandor;MDL:QV7E;\" \"\"'\n");
    }

    std::string dir_;
    std::string socket_;
    QProcess process_;
};

class RealScheduler : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = WhyNoScheduler(); !why.empty()) GTEST_SKIP() << why;
        machine_.config.privilegePrompt.clear();
        machine_.InstallRule();
    }
    void TearDown() override {
        scheduler_.Stop();
        unsetenv("CUPS_SERVER");
    }
    void StartScheduler(bool refuseChanges) {
        ASSERT_TRUE(scheduler_.Start(refuseChanges)) << scheduler_.Log();
    }
    std::vector<std::string> Queues() {
        std::vector<std::string> names;
        std::istringstream lines(Cups("lpstat", {"-p"}).output);
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("printer ")) names.push_back(line.substr(8, line.find(' ', 8) - 8));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static bool Says(const QStringList& arguments, const std::string& words) {
        return Cups("lpstat", arguments).output.find(words) != std::string::npos;
    }

    LauncherOnLinux machine_;
    PrivateScheduler scheduler_{machine_.root + "/cups"};
};

}  // namespace

TEST_F(RealScheduler, NextGivesTheSuccessPageOnlyWithAnEnabledAcceptingQueueAndRemovesTheOldOnes) {
    StartScheduler(true);
    machine_.Start(true);
    machine_.Press({id::kVistaDrivers, id::kInstall, id::kNext});
    EXPECT_EQ(machine_.Title(), texts::kProblemTitle);
    EXPECT_EQ(machine_.Text(), texts::kPrinterFailedText);
    EXPECT_TRUE(Queues().empty());

    scheduler_.Stop();
    StartScheduler(false);
    for (const char* old : {"Tandor_QV7", "qv7", "QV7E", "Tandor_QV7E", "Office"}) {
        ASSERT_EQ(Cups("lpadmin", {"-p", old, "-v", "usb://Old/Printer", "-D", "old"}).exitCode, 0) << old;
    }
    machine_.Press({id::kBack, id::kVistaDrivers, id::kInstall, id::kNext});
    EXPECT_EQ(machine_.Title(), texts::kPrinterAddedTitle) << machine_.Text();
    EXPECT_EQ(Queues(), (std::vector<std::string>{"Office", "Tandor_QV7E"}));
    EXPECT_TRUE(Says({"-p", "Tandor_QV7E"}, "enabled"));
    EXPECT_TRUE(Says({"-a", "Tandor_QV7E"}, "Tandor_QV7E accepting requests"));
    EXPECT_TRUE(Says({"-v", "Tandor_QV7E"}, kPrinterUri));

    scheduler_.Stop();
    EXPECT_EQ(machine_.Host().AddPrinterQueue(kPrinterUri), StepResult::Failed);
    machine_.Press({id::kBack, id::kVistaDrivers, id::kInstall, id::kNext});
    EXPECT_EQ(machine_.Title(), texts::kProblemTitle);
    EXPECT_EQ(machine_.Text(), texts::kNotDetectedText);
}
