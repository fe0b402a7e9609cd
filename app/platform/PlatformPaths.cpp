#include "PlatformPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "ProgramLocation.h"

namespace quillory {

namespace {

const char kProgramFolderName[] = "Quillory";
const char kSymbolFolderName[] = "Downloadable_Symbols";
const char kFirmwareFolderName[] = "QV7_Firmware";
const char kFirmwareFolderVariable[] = "QUILLORY_FIRMWARE_DIR";
#ifndef Q_OS_WIN
// Where an installation keeps its shared data, below its prefix.
const char kSharedDataBelowPrefix[] = "/share/quillory";
#endif

PlatformRoots& MovedRoots() {
    static PlatformRoots roots;
    return roots;
}

QString Chosen(const QString& moved, QString (*platform)()) {
    return moved.isEmpty() ? platform() : moved;
}

QString PlatformHome() {
    return QDir::homePath();
}

QString PlatformDataHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString PlatformCacheHome() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

QString PlatformInstallPrefix() {
    return QDir::cleanPath(QFileInfo(RunningProgramFile()).path() + QLatin1String("/.."));
}

#ifndef Q_OS_WIN
QString DocumentFolder() {
    return PlatformPaths::InstallPrefix() + QLatin1String("/share/doc/quillory");
}
#endif

}  // namespace

void PlatformPaths::SetRoots(const PlatformRoots& roots) {
    MovedRoots() = roots;
}

QString PlatformPaths::InstallPrefix() {
    return Chosen(MovedRoots().installPrefix, PlatformInstallPrefix);
}

QString PlatformPaths::UserDataFolder() {
    return Join(Chosen(MovedRoots().dataHome, PlatformDataHome), QLatin1String(kProgramFolderName));
}

QString PlatformPaths::CacheFolder() {
    return Join(Chosen(MovedRoots().cacheHome, PlatformCacheHome), QLatin1String(kProgramFolderName));
}

QString PlatformPaths::FirmwareImageFolder() {
    const QString chosen = qEnvironmentVariable(kFirmwareFolderVariable);
    if (!chosen.isEmpty()) return chosen;
    return Join(SharedDataFolder(), QLatin1String(kFirmwareFolderName));
}

QString PlatformPaths::FirmwareBackupFolder() {
    return UserDataFolder();
}

QString PlatformPaths::SymbolFolderWithSeparator() {
    return SymbolFolder() + Separator();
}

QString PlatformPaths::Join(const QString& folder, const QString& name) {
    if (folder.endsWith(Separator())) return folder + name;
    return folder + Separator() + name;
}

#ifdef Q_OS_WIN

QString PlatformPaths::DriveRoot() {
    return Chosen(MovedRoots().home, [] { return QStringLiteral("C:\\"); });
}

QString PlatformPaths::SharedDataFolder() {
    return SharedDataFolderOf(QFileInfo(RunningProgramFile()).path());
}

QString PlatformPaths::SharedDataFolderOf(const QString& programFolder) {
    return QDir::toNativeSeparators(programFolder);
}

QString PlatformPaths::SymbolFolder() {
    return QStringLiteral("C:\\Program Files\\Quillory\\") + QLatin1String(kSymbolFolderName);
}

QString PlatformPaths::ReadMeFile() {
    return qEnvironmentVariable("WINDIR", QStringLiteral("C:\\WINDOWS")) + QLatin1String("\\Quillory\\README.txt");
}

QString PlatformPaths::ProgramDocument(const QString& name) {
    // Only a program file named exactly Quillory.exe finds its documents; any
    // other name leaves the program's own path, as it always has.
    return RunningProgramFile().replace(ProgramFileName(), QLatin1String("Documentation\\") + name,
                                        Qt::CaseSensitive);
}

QString PlatformPaths::HelpFile() {
    const QString path = RunningProgramFile();
    return path.left(path.lastIndexOf(QLatin1Char('.'))) + QLatin1String(".chm");
}

QChar PlatformPaths::Separator() {
    return QLatin1Char('\\');
}

QString PlatformPaths::ProgramFileName() {
    return QStringLiteral("Quillory.exe");
}

#else

QString PlatformPaths::DriveRoot() {
    return Chosen(MovedRoots().home, PlatformHome);
}

QString PlatformPaths::SharedDataFolder() {
    return InstallPrefix() + QLatin1String(kSharedDataBelowPrefix);
}

QString PlatformPaths::SharedDataFolderOf(const QString& programFolder) {
    return QDir::cleanPath(programFolder + QLatin1String("/..") + QLatin1String(kSharedDataBelowPrefix));
}

QString PlatformPaths::SymbolFolder() {
    return Join(UserDataFolder(), QLatin1String(kSymbolFolderName));
}

QString PlatformPaths::ReadMeFile() {
    return DocumentFolder() + QLatin1String("/README.txt");
}

QString PlatformPaths::ProgramDocument(const QString& name) {
    return DocumentFolder() + QLatin1Char('/') + name;
}

QString PlatformPaths::HelpFile() {
    return DocumentFolder() + QLatin1String("/Quillory.html");
}

QChar PlatformPaths::Separator() {
    return QLatin1Char('/');
}

QString PlatformPaths::ProgramFileName() {
    return QStringLiteral("Quillory");
}

#endif

}  // namespace quillory
