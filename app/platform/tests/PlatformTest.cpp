// Platform facts: the stored settings and where the program's folders are.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "PlatformPaths.h"
#include "SettingsStore.h"

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

    // Moved roots take over one by one; an empty root is the platform's again.
    PlatformPaths::SetRoots({QString(), QString(), folder.filePath(QStringLiteral("cache")), QStringLiteral("/opt/q")});
    EXPECT_EQ(PlatformPaths::CacheFolder(), folder.filePath(QStringLiteral("cache/Quillory")));
    EXPECT_EQ(PlatformPaths::ReadMeFile(), QStringLiteral("/opt/q/share/doc/quillory/README.txt"));
    EXPECT_EQ(PlatformPaths::SharedDataFolder(), QStringLiteral("/opt/q/share/quillory"));
    EXPECT_EQ(PlatformPaths::SymbolFolder(), symbols);
    PlatformPaths::SetRoots({});
    EXPECT_NE(PlatformPaths::InstallPrefix(), QStringLiteral("/opt/q"));
}

}  // namespace
