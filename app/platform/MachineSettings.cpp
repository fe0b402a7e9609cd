#include "MachineSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "PlatformPaths.h"
#include "SettingsFiles.h"

namespace quillory {

namespace {

#ifdef Q_OS_WIN
const char kMachineKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvale_Quillory";
#endif

}  // namespace

QStringList MachineSettings::SearchOrder() {
#ifdef Q_OS_WIN
    return {QLatin1String(kMachineKey)};
#else
    // The library reads the printer's ids from the same file: one order for both.
    QStringList files;
    for (const std::string& file :
         qv7::MachineSettingsSearchOrder(QFile::encodeName(PlatformPaths::InstallPrefix()).toStdString())) {
        files << QFile::decodeName(QByteArray::fromStdString(file));
    }
    return files;
#endif
}

QString MachineSettings::Location() {
    const QStringList places = SearchOrder();
#ifndef Q_OS_WIN
    for (const QString& place : places) {
        if (QFileInfo::exists(place)) return place;
    }
#endif
    return places.first();
}

std::optional<QString> MachineSettings::Read(const char* name, bool* keyOpened) {
#ifdef Q_OS_WIN
    QSettings settings(Location(), QSettings::NativeFormat);
    *keyOpened = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
#else
    // QSettings reads a missing file as an empty one; the installer's file
    // being gone is what the program reports, so look first.
    const QString place = Location();
    const QFileInfo file(place);
    *keyOpened = file.isFile() && file.isReadable();
    if (!*keyOpened) return std::nullopt;
    QSettings settings(place, QSettings::IniFormat);
    *keyOpened = settings.status() != QSettings::AccessError;
#endif
    if (!*keyOpened) return std::nullopt;
    const QVariant value = settings.value(QLatin1String(name));
    if (!value.isValid()) return std::nullopt;
    // A value with a comma reads back as a list; the folder is one text.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool MachineSettings::Write(const char* name, const QString& value) {
#ifdef Q_OS_WIN
    QSettings settings(Location(), QSettings::NativeFormat);
#else
    QSettings settings(Location(), QSettings::IniFormat);
#endif
    settings.setValue(QLatin1String(name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace quillory
