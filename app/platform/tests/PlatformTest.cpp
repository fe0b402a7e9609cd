// Platform facts: the stored settings, where the program's folders are, the
// machine's mount table and the keyboard's lock lights.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "KeyLockState.h"
#include "MachineSettings.h"
#include "MountTable.h"
#include "PlatformPaths.h"
#include "SettingsFiles.h"
#include "SettingsStore.h"

namespace {

using namespace quillory;

void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Where the values live is checked through the program; here, what a missing
// or unreadable value gives.
TEST(Settings, ReadDefaultsWhenMissingOrUnreadable) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings raw(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
    raw.setValue(QStringLiteral("Settings/x"), -12);
    raw.setValue(QStringLiteral("Settings/cy"), QStringLiteral("tall"));
    raw.sync();
    SettingsStore store(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
    EXPECT_EQ(store.GetProfileInt(setting::kX, 0), -12);
    EXPECT_EQ(store.GetProfileInt(setting::kHeight, 480), 480);
    EXPECT_EQ(store.GetProfileInt(setting::kWidth, 345), 345);
    EXPECT_EQ(store.GetProfileString(setting::kLabelUploadPath, QString()), QString());
}

// The library reads the printer's ids from the settings files without Qt:
// what QSettings writes must read back the same there, from the same file.
TEST(Settings, WhatQSettingsWritesTheLibraryReadsBackFromTheSameFile) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("written.conf"));
    const QStringList values{QStringLiteral(" blanks at both ends "), QStringLiteral("a,b;c=d"),
                             QStringLiteral("quote \" and back\\slash"), QStringLiteral("tab\tbreak\n"),
                             QString::fromUtf8("Zoë Programs"), QStringLiteral("@at")};
    {
        QSettings settings(file, QSettings::IniFormat);
        for (int i = 0; i < values.size(); ++i) {
            settings.setValue(QStringLiteral("v%1").arg(i), values[i]);
            settings.setValue(QStringLiteral("Settings/v%1").arg(i), values[i]);
        }
    }
    for (int i = 0; i < values.size(); ++i) {
        const std::string key = QStringLiteral("v%1").arg(i).toStdString();
        for (const char* section : {qv7::kTopLevelSection, "Settings"}) {
            EXPECT_EQ(QString::fromStdString(qv7::ReadIniValue(file.toStdString(), section, key).text), values[i]);
        }
    }
}

class LinuxPaths : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("HOME", folder.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());
    }
    void TearDown() override {
        PlatformPaths::SetRoots({});
        qunsetenv("XDG_CONFIG_DIRS");
        qunsetenv("QUILLORY_MACHINE_SETTINGS");
    }
    static QString InstallFolder() {
        bool opened = false;
        return MachineSettings::Read(machine::kInstallFolder, &opened).value_or(QStringLiteral("<none>"));
    }
    QTemporaryDir folder;
};

TEST_F(LinuxPaths, MachineSettingsAreTheFirstFileAlongTheConfigFoldersThenTheInstallations) {
    const QString first = folder.filePath(QStringLiteral("xdg1")), second = folder.filePath(QStringLiteral("xdg2"));
    const QString prefix = folder.filePath(QString::fromUtf8("Zoë Programs/usr"));
    const auto file = [](const QString& configFolder) { return configFolder + "/Orvale/Orvale_Quillory.conf"; };
    PlatformPaths::SetRoots({QString(), QString(), QString(), prefix});
    qunsetenv("QUILLORY_MACHINE_SETTINGS");
    qputenv("XDG_CONFIG_DIRS", ("relative/xdg:" + first + ":" + second).toUtf8());
    EXPECT_EQ(InstallFolder(), "<none>");

    WriteFile(file(prefix + "/etc/xdg"), "dir=/from/the/prefix\n");
    EXPECT_EQ(InstallFolder(), "/from/the/prefix");
    WriteFile(file(second), "dir=Not Set\n");
    EXPECT_EQ(InstallFolder(), "Not Set");
    // What the search found goes back where "Not Set" was read.
    EXPECT_TRUE(MachineSettings::Write(machine::kInstallFolder, QStringLiteral("/found")));
    EXPECT_EQ(InstallFolder(), "/found");
    EXPECT_EQ(QSettings(file(prefix + "/etc/xdg"), QSettings::IniFormat).value("dir"), "/from/the/prefix");
    WriteFile(file(first), "dir=/first\n");
    EXPECT_EQ(InstallFolder(), "/first");

    qunsetenv("XDG_CONFIG_DIRS");
    qputenv("QUILLORY_MACHINE_SETTINGS", folder.filePath(QStringLiteral("absent.conf")).toUtf8());
    EXPECT_EQ(InstallFolder(), "<none>") << "the variable names the only file";
}

TEST(MountTable, FieldsAreUnescapedDisksAreTheDrivesAndTheRealTableIsReadToItsEnd) {
    const QByteArray sample =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sdb1 /media/ann/My\\040Disk vfat rw 0 0\n"
        "/dev/sdc1 /mnt/tab\\011and\\134back\\04 ext4 rw 0 0\n"
        "\n"
        "half-a-line\n"
        "/dev/sdd1 /media/Zo\xc3\xab\\040Programs xfs rw 0 0";
    EXPECT_EQ(ParseMountTable(sample), (std::vector<MountEntry>{{"/", "ext4"},
                                                                {"/proc", "proc"},
                                                                {"/media/ann/My Disk", "vfat"},
                                                                {"/mnt/tab\tand\\back\\04", "ext4"},
                                                                {QString::fromUtf8("/media/Zoë Programs"), "xfs"}}));
    // A program is searched for on the local disks only, each mount point once.
    const QByteArray more = "\ntmpfs /run tmpfs rw 0 0\nserver:/x /net nfs4 rw 0 0\n/dev/sda1 / ext4 rw 0 0\n";
    EXPECT_EQ(DiskMountPoints(ParseMountTable(sample + more)),
              (QStringList{"/", "/media/ann/My Disk", "/mnt/tab\tand\\back\\04",
                           QString::fromUtf8("/media/Zoë Programs")}));

    // The kernel's table says it is empty (size 0) until it is read.
    std::ifstream independent("/proc/self/mounts");
    size_t lines = 0;
    for (std::string line; std::getline(independent, line);) ++lines;
    const std::optional<std::vector<MountEntry>> real = ReadMountTable();
    ASSERT_TRUE(real);
    EXPECT_GT(lines, 2u);
    EXPECT_EQ(real->size(), lines);
    EXPECT_NE(std::find_if(real->begin(), real->end(), [](const MountEntry& e) { return e.mountPoint == "/proc"; }),
              real->end());
}

// The lights as sysfs shows them, one folder per LED with its brightness.
TEST(KeyLocks, ALockIsOnWhenAnyKeyboardLightsIt) {
    QTemporaryDir leds;
    for (const auto& [led, brightness] : {std::pair{"input3::capslock", "1\n"}, {"input3::numlock", "0\n"},
                                          {"input9::numlock", "255\n"}, {"input3::scrolllock", "on\n"}}) {
        WriteFile(leds.filePath(QLatin1String(led) + "/brightness"), brightness);
    }
    EXPECT_EQ(ReadKeyLocksFromLeds(leds.path()), (KeyLocks{true, true, false}));
    EXPECT_EQ(ReadKeyLocksFromLeds(leds.filePath("absent")), KeyLocks{});
}

}  // namespace
