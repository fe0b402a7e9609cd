#include "SettingsStore.h"

#include <cstring>

#include "PlatformPaths.h"

namespace quillory {

namespace {

const char kSection[] = "Settings";

}  // namespace

SettingsStore::SettingsStore(const QString& settingsKey, const QString& applicationName)
    : settings_(settingsKey, applicationName) {}

QString SettingsStore::Key(const char* name) {
    return QLatin1String(kSection) + QLatin1Char('/') + QLatin1String(name);
}

int SettingsStore::GetProfileInt(const char* name, int defaultValue) const {
    const QVariant value = settings_.value(Key(name));
    bool ok = false;
    const int number = value.toInt(&ok);
    return value.isValid() && ok ? number : defaultValue;
}

void SettingsStore::WriteProfileInt(const char* name, int value) {
    settings_.setValue(Key(name), value);
}

QString SettingsStore::GetProfileString(const char* name, const QString& defaultValue) const {
    const QVariant value = settings_.value(Key(name));
    return value.isValid() ? value.toString() : defaultValue;
}

void SettingsStore::WriteProfileString(const char* name, const QString& value) {
    settings_.setValue(Key(name), value);
}

QString SettingsStore::DefaultText(const char* name) {
    // The folders a user saves into start at the top of their own files.
    for (const char* folder : {setting::kDataDownloadFolder, setting::kLabelDownloadFolder,
                               setting::kSymbolDownloadFolder, setting::kDownloadAllPath}) {
        if (std::strcmp(name, folder) == 0) return PlatformPaths::DriveRoot();
    }
    return QString();
}

void SettingsStore::Flush() {
    settings_.sync();
}

}  // namespace quillory
