// Finding the installation folder: from the machine-wide settings, or by
// searching the drives (test folders here) when the installer left "Not Set".
#include <QDir>
#include <QFile>

#include <optional>

#include "CInstallLookup.h"
#include "MachineSettings.h"
#include "VirtualPrinterService.h"

namespace {

using namespace quillory;

class InstallLookup : public quillorytest::PrinterFolderTest {
protected:
    void SetUp() override {
        PrinterFolderTest::SetUp();
        qputenv("QUILLORY_MACHINE_SETTINGS", Path("machine.conf").toUtf8());
    }
    void MachineFile(const QByteArray& text) { Write(Path("machine.conf"), text); }
    void Make(const QString& name, bool asFolder = false) {
        if (asFolder) QDir().mkpath(Path(name));
        else Write(Path(name), {});
    }
    QString StoredFolder() {
        bool opened = false;
        return MachineSettings::Read(machine::kInstallFolder, &opened).value_or("<absent>");
    }

    quillorytest::RecordingPrompt prompt;
    CInstallLookup lookup{prompt, [this] { return QStringList{Path("C"), Path("D")}; }};
};

TEST_F(InstallLookup, NotSetSearchesTheDrivesInOrderAndWritesTheFolderBack) {
    const QString program = CInstallLookup::ProgramFileName();
    struct Row {
        const char* situation;
        QStringList entries;  // a trailing "/" makes a folder
        QString expected;
    };
    const Row rows[] = {
        {"only the second drive has it", {"C/Tools/other.txt", "D/Tools/App/" + program}, "D/Tools/App"},
        {"a folder of that name ends the search too", {"C/x/" + program + "/", "D/" + program}, "C/x"},
        {"the first drive wins", {"D/" + program, "C/deep/er/" + program}, "C/deep/er"},
        {"the folder itself is looked at before its subfolders", {"C/a/b/" + program, "C/" + program}, "C"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        QDir(Path("C")).removeRecursively();
        QDir(Path("D")).removeRecursively();
        QDir().mkpath(Path("C"));
        QDir().mkpath(Path("D"));
        for (const QString& entry : row.entries) Make(entry, entry.endsWith('/'));
        MachineFile("dir=Not Set\n");
        lookup.FindInstallDirectory();
        EXPECT_EQ(lookup.installDirectory(), Path(row.expected));
        EXPECT_EQ(StoredFolder(), Path(row.expected));
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(InstallLookup, LinksAreNotFollowedSoALoopEndsAndNothingIsFoundThroughOne) {
    Make("D/real/" + CInstallLookup::ProgramFileName());
    QDir().mkpath(Path("C/inner"));
    ASSERT_TRUE(QFile::link(Path("C"), Path("C/inner/loop")));
    ASSERT_TRUE(QFile::link(Path("D/real"), Path("C/shortcut")));
    MachineFile("dir=Not Set\n");
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), Path("D/real")) << "found on D itself, not through C's link";
}

TEST_F(InstallLookup, AFolderInTheSettingsIsTakenWithoutItsBlanksAndKeptWhenTheSettingsGo) {
    MachineFile("dir=\"  /opt/quillory/bin  \"\nVersion=1.0\n");
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), "/opt/quillory/bin");
    EXPECT_TRUE(prompt.shown.empty());
    QFile::remove(Path("machine.conf"));
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), "/opt/quillory/bin");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Unable to open Registor key"});
}

TEST(LocalDiskDrives, KernelFileSystemsAreNotDrives) {
    const QStringList drives = CInstallLookup::LocalDiskDrives();
    EXPECT_FALSE(drives.contains("/proc"));
    EXPECT_FALSE(drives.contains("/sys"));
}

}  // namespace
