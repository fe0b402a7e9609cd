// Finding the installation folder: from the machine-wide settings, or by
// searching the drives (test folders here, and this machine's own disks)
// when the installer left "Not Set".
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStorageInfo>
#include <QUuid>

#include <cstdio>
#include <optional>

#include "InstallFolderLookup.h"
#include "MachineSettings.h"
#include "PlatformPaths.h"
#include "VirtualPrinterService.h"

namespace {

using namespace quillory;

class InstallLookup : public quillorytest::PrinterFolderTest {
protected:
    // What may stand in a folder under the program's name.
    enum Entry { kProgram, kNotExecutable, kWithoutSchema, kFolder };
    // Makes the entry in the folder and, unless kWithoutSchema, the schema
    // in the installation's place beside it.
    void Make(Entry entry, const QString& folder) {
        const QString path = Path(folder + "/" + PlatformPaths::ProgramFileName());
        if (entry == kFolder) {
            QDir().mkpath(path);
        } else {
            Write(path, "#!/bin/sh\n");
            if (entry != kNotExecutable) QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        }
        if (entry != kWithoutSchema) Write(Path(folder + "/../share/quillory/quilloryFileSet.xsd"), "<schema/>");
    }
    QString StoredFolder() {
        bool opened = false;
        return MachineSettings::Read(machine::kInstallFolder, &opened).value_or("<absent>");
    }

    quillorytest::RecordingPrompt prompt;
    InstallFolderLookup lookup{prompt, [this] { return QStringList{Path("C"), Path("D")}; }};
};

TEST_F(InstallLookup, NotSetSearchesTheDrivesInOrderAndWritesTheFolderBack) {
    struct Row {
        const char* situation;
        std::vector<std::pair<Entry, QString>> entries;
        QString expected;  // empty: nothing is found
    };
    const Row rows[] = {
        {"nothing found leaves the marker for the next lookup", {}, ""},
        {"only the second drive has it", {{kNotExecutable, "C/Tools"}, {kProgram, "D/Tools/App"}}, "D/Tools/App"},
        {"the folder itself is looked at before its subfolders", {{kProgram, "C/a/b"}, {kProgram, "C"}}, "C"},
        {"the program's own folders, a file that cannot run or without its schema are no installation",
         {{kFolder, "C/home/.local/share"},
          {kFolder, "C/home/.cache"},
          {kNotExecutable, "C/x/bin"},
          {kWithoutSchema, "C/y/bin"},
          {kProgram, "D/usr/bin"}},
         "D/usr/bin"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        QDir(Path("C")).removeRecursively();
        QDir(Path("D")).removeRecursively();
        QDir().mkpath(Path("C"));
        QDir().mkpath(Path("D"));
        for (const auto& [entry, folder] : row.entries) Make(entry, folder);
        MachineSettingsFile("dir=Not Set\n");
        InstallFolderLookup fresh{prompt, [this] { return QStringList{Path("C"), Path("D")}; }};
        fresh.FindInstallDirectory();
        EXPECT_EQ(fresh.installDirectory(), row.expected.isEmpty() ? QString() : Path(row.expected));
        EXPECT_EQ(StoredFolder(), row.expected.isEmpty() ? QString("Not Set") : Path(row.expected));
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(InstallLookup, LinksAreNotFollowedSoALoopEndsAndNothingIsFoundThroughOne) {
    Make(kProgram, "D/real");
    QDir().mkpath(Path("C/inner"));
    ASSERT_TRUE(QFile::link(Path("C"), Path("C/inner/loop")));
    ASSERT_TRUE(QFile::link(Path("D/real"), Path("C/shortcut")));
    MachineSettingsFile("dir=Not Set\n");
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), Path("D/real")) << "found on D itself, not through C's link";
}

TEST_F(InstallLookup, AFolderInTheSettingsIsTakenWithoutItsBlanksAndKeptWhenTheSettingsGo) {
    MachineSettingsFile("dir=\"  /opt/quillory/bin  \"\nVersion=1.0\n");
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), "/opt/quillory/bin");
    EXPECT_TRUE(prompt.shown.empty());
    QFile::remove(Path("machine.conf"));
    lookup.FindInstallDirectory();
    EXPECT_EQ(lookup.installDirectory(), "/opt/quillory/bin");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Unable to open Registor key"});
}

TEST_F(InstallLookup, TheSearchReadsThisMachinesMountTableAndFindsAProgramOnALocalDisk) {
    // Beside the build, which is on a disk; the temporary folder may not be.
    QTemporaryDir folder(QString::fromUtf8(QUILLORY_TEST_PROGRAM_DIR "/../Zoë Programs-XXXXXX"));
    ASSERT_TRUE(folder.isValid());
    const QStorageInfo disk(folder.path());
    const QStringList drives = LocalDiskDrives();
    if (!drives.contains(disk.rootPath())) {
        ASSERT_TRUE(disk.fileSystemType() == "tmpfs" || disk.fileSystemType() == "overlay")
            << disk.rootPath().toStdString() << " (" << disk.fileSystemType().toStdString()
            << ") is a disk the mount table did not give";
        GTEST_SKIP() << "the build is on " << disk.fileSystemType().toStdString() << ", which is not a disk";
    }

    // A name no installation on this machine has, so the first program the
    // walk meets is the planted one, wherever the disk lists it.
    const QString program = "QuilloryProbe-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString root = QFileInfo(folder.path()).canonicalFilePath();
    Write(root + "/usr/bin/" + program, "#!/bin/sh\n");
    QFile::setPermissions(root + "/usr/bin/" + program, QFile::ReadOwner | QFile::ExeOwner);
    Write(root + "/usr/share/quillory/quilloryFileSet.xsd", "<schema/>");
    InstallFolderLookup lookup(prompt, LocalDiskDrives, program);
    QElapsedTimer timer;
    timer.start();
    lookup.SearchFixedDrives();
    std::printf("searched %s in %lld ms\n", qPrintable(drives.join(", ")), static_cast<long long>(timer.elapsed()));
    EXPECT_EQ(lookup.installDirectory(), root + "/usr/bin");
}

}  // namespace
