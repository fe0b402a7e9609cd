#include "PlatformPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace quillory {

namespace {

const char kSymbolFolderName[] = "Downloadable_Symbols";

#ifndef Q_OS_WIN
QString DocumentFolder() {
    return PlatformPaths::InstallPrefix() + QLatin1String("/share/doc/quillory");
}
#endif

}  // namespace

#ifdef Q_OS_WIN

QString PlatformPaths::DriveRoot() {
    return QStringLiteral("C:\\");
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
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath())
        .replace(QLatin1String("Quillory.exe"), QLatin1String("Documentation\\") + name, Qt::CaseSensitive);
}

QString PlatformPaths::HelpFile() {
    QString path = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    return path.left(path.lastIndexOf(QLatin1Char('.'))) + QLatin1String(".chm");
}

QChar PlatformPaths::Separator() {
    return QLatin1Char('\\');
}

#else

QString PlatformPaths::DriveRoot() {
    return QDir::homePath();
}

QString PlatformPaths::SymbolFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1String("/Quillory/") +
           QLatin1String(kSymbolFolderName);
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

#endif

QString PlatformPaths::SymbolFolderWithSeparator() {
    return SymbolFolder() + Separator();
}

QString PlatformPaths::InstallPrefix() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String("/.."));
}

}  // namespace quillory
