// The window layer's widget-free parts: settings, platform paths, the lock
// keys, the stored show state, the command line and file dialog filters.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CommandLine.h"
#include "FileDialogChoice.h"
#include "PlatformPaths.h"
#include "SettingsStore.h"
#include "WindowShowCommand.h"

namespace {

using namespace quillory;

TEST(Settings, LiveInTheSettingsSectionAndReadDefaultsWhenMissingOrUnreadable) {
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    {
        SettingsStore store(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
        EXPECT_EQ(store.GetProfileInt(setting::kWidth, 345), 345);
        EXPECT_EQ(store.GetProfileString(setting::kLabelUploadPath, QString()), QString());
        store.WriteProfileInt(setting::kX, -12);
        store.WriteProfileString(setting::kDataUploadPath, QStringLiteral("/home/ann/stock.dat"));
        store.Flush();
    }
    QFile file(folder.filePath(QStringLiteral("Orvale/Quillory.conf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[Settings]\nDataUploadPath=/home/ann/stock.dat\nx=-12\n");
    file.close();

    QSettings raw(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
    raw.setValue(QStringLiteral("Settings/cy"), QStringLiteral("tall"));
    SettingsStore store(QStringLiteral("Orvale"), QStringLiteral("Quillory"));
    EXPECT_EQ(store.GetProfileInt(setting::kX, 0), -12);
    EXPECT_EQ(store.GetProfileInt(setting::kHeight, 480), 480);
}

class LinuxPaths : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("HOME", folder.filePath(QStringLiteral("home")).toUtf8());
        qputenv("XDG_DATA_HOME", folder.filePath(QStringLiteral("data")).toUtf8());
    }
    QTemporaryDir folder;
};

TEST_F(LinuxPaths, PutTheWindowsFoldersInTheHomeDataAndInstallFolders) {
    EXPECT_EQ(PlatformPaths::DriveRoot(), folder.filePath(QStringLiteral("home")));
    const QString symbols = folder.filePath(QStringLiteral("data/Quillory/Downloadable_Symbols"));
    EXPECT_EQ(PlatformPaths::SymbolFolder(), symbols);
    EXPECT_EQ(PlatformPaths::SymbolFolderWithSeparator(), symbols + "/");
    EXPECT_EQ(SettingsStore::DefaultText(setting::kDataDownloadFolder), PlatformPaths::DriveRoot());
    EXPECT_EQ(SettingsStore::DefaultText(setting::kDownloadAllPath), PlatformPaths::DriveRoot());
    EXPECT_EQ(SettingsStore::DefaultText(setting::kFileSetUploadPath), QString());

    // The prefix is found from where the program runs, so a moved installation still finds its documents.
    const QString prefix = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/..");
    EXPECT_EQ(PlatformPaths::InstallPrefix(), prefix);
    EXPECT_EQ(PlatformPaths::ReadMeFile(), prefix + "/share/doc/quillory/README.txt");
}

TEST(ShowCommands, ReadTheWindowsNumbersAndStoreWhatAPlacementWouldHold) {
    EXPECT_EQ(WindowStateForShowCommand(kShow), Qt::WindowNoState);
    EXPECT_EQ(WindowStateForShowCommand(kShowNormal), Qt::WindowNoState);
    EXPECT_EQ(WindowStateForShowCommand(kShowMaximized), Qt::WindowMaximized);
    for (int minimised : {kShowMinimized, kMinimize, kShowMinNoActive}) {
        EXPECT_EQ(WindowStateForShowCommand(minimised), Qt::WindowMinimized) << minimised;
    }
    EXPECT_EQ(WindowStateForShowCommand(0), Qt::WindowNoState);
    EXPECT_EQ(WindowStateForShowCommand(-3), Qt::WindowNoState);

    EXPECT_EQ(ShowCommandForWindowState(Qt::WindowNoState), kShowNormal);
    EXPECT_EQ(ShowCommandForWindowState(Qt::WindowMaximized), kShowMaximized);
    EXPECT_EQ(ShowCommandForWindowState(Qt::WindowMinimized | Qt::WindowMaximized), kShowMinimized);
    EXPECT_EQ(ShowCommandForWindowState(Qt::WindowFullScreen), kShowMaximized);
}

TEST(CommandLineOptions, TakeADeviceAndATraceInEitherFormAndRefuseAnUnknownDevice) {
    auto parse = [](std::vector<const char*> args) {
        args.insert(args.begin(), "Quillory");
        return ParseCommandLine(static_cast<int>(args.size()), args.data());
    };
    CommandLine line = parse({"--device", "virtual:/tmp/p"});
    EXPECT_TRUE(line.deviceGiven);
    EXPECT_EQ(line.device, "virtual:/tmp/p");
    EXPECT_TRUE(line.error.empty());

    line = parse({"-platform", "offscreen", "--device=usb"});
    EXPECT_EQ(line.device, "usb");
    EXPECT_TRUE(line.error.empty()) << "options meant for Qt are left alone";

    EXPECT_FALSE(parse({}).deviceGiven);
    EXPECT_TRUE(parse({"--help"}).help);
    EXPECT_TRUE(parse({"-h"}).help);
    EXPECT_EQ(parse({"--device"}).error, "--device needs a value ('usb' or 'virtual:DIR')");
    EXPECT_EQ(parse({"--device", "serial"}).error, "unknown device 'serial' (use 'usb' or 'virtual:DIR')");
    EXPECT_FALSE(parse({"--device=virtual:"}).error.empty());

    line = parse({"--trace", "/tmp/t.txt", "--device", "usb"});
    EXPECT_TRUE(line.traceGiven);
    EXPECT_EQ(line.trace, "/tmp/t.txt");
    EXPECT_EQ(parse({"--trace="}).error, "--trace needs a file name");
}

TEST(FileDialogFilters, BecomeQtNameFilters) {
    EXPECT_EQ(NameFilters(QStringLiteral("Comma-seperated value files (*.csv)|*.csv||")),
              (QStringList{"Comma-seperated value files (*.csv)"}));
    EXPECT_EQ(NameFilters(QStringLiteral("QV7 Data Files (*.dat)|*.dat|All Files (*.*)|*.*||")),
              (QStringList{"QV7 Data Files (*.dat)", "All Files (*.*)"}));
    EXPECT_EQ(NameFilters(QStringLiteral("Pictures|*.bmp;*.dib||")), (QStringList{"Pictures (*.bmp *.dib)"}));
    EXPECT_TRUE(NameFilters(QString()).isEmpty());
}

}  // namespace
