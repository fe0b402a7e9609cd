#include "MachineSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace quillory {

namespace {

#ifdef Q_OS_WIN
const char kMachineKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvale_Quillory";
#else
const char kMachineFile[] = "/etc/xdg/Orvale/Orvale_Quillory.conf";
const char kMachineFileVariable[] = "QUILLORY_MACHINE_SETTINGS";
#endif

}  // namespace

QString MachineSettings::Location() {
#ifdef Q_OS_WIN
    return QLatin1String(kMachineKey);
#else
    const QString chosen = qEnvironmentVariable(kMachineFileVariable);
    return chosen.isEmpty() ? QLatin1String(kMachineFile) : chosen;
#endif
}

std::optional<QString> MachineSettings::Read(const char* name, bool* keyOpened) {
#ifdef Q_OS_WIN
    QSettings settings(Location(), QSettings::NativeFormat);
    *keyOpened = !settings.childKeys().isEmpty() || !settings.childGroups().isEmpty();
#else
    // QSettings reads a missing file as an empty one; the installer's file
    // being gone is what the program reports, so look first.
    const QFileInfo file(Location());
    *keyOpened = file.isFile() && file.isReadable();
    if (!*keyOpened) return std::nullopt;
    QSettings settings(Location(), QSettings::IniFormat);
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
