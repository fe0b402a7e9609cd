// The per-user settings of the program: QSettings under the settings key and
// the application name, section "Settings". The registry on Windows, an INI
// file on Linux (~/.config/Orvale/Quillory.conf).
#ifndef QUILLORY_SETTINGS_STORE_H
#define QUILLORY_SETTINGS_STORE_H

#include <QSettings>
#include <QString>

namespace quillory {

// The names of the stored values.
namespace setting {
inline constexpr char kX[] = "x";
inline constexpr char kY[] = "y";
inline constexpr char kWidth[] = "cx";
inline constexpr char kHeight[] = "cy";
inline constexpr char kShowCommand[] = "placementShowCmd";
inline constexpr char kDataFolderExpanded[] = "DataFolderExpanded";
inline constexpr char kLabelFolderExpanded[] = "LabelFolderExpanded";
inline constexpr char kSymbolFolderExpanded[] = "SymbolFolderExpanded";
inline constexpr char kDataDownloadFolder[] = "DataDownloadFolder";
inline constexpr char kLabelDownloadFolder[] = "LabelDownloadFolder";
inline constexpr char kSymbolDownloadFolder[] = "SymbolDownloadFolder";
inline constexpr char kDataUploadPath[] = "DataUploadPath";
inline constexpr char kLabelUploadPath[] = "LabelUploadPath";
inline constexpr char kSymbolUploadPath[] = "SymbolUploadPath";
inline constexpr char kFirmwareUpgradePath[] = "FirmwareUpgradePath";
inline constexpr char kFirmwareDownloadPath[] = "FirmwareDownloadPath";
inline constexpr char kFileSetUploadPath[] = "FileSetUploadPath";
inline constexpr char kDownloadAllPath[] = "DownloadAllPath";
}  // namespace setting

// The first window of a fresh installation: top left, 345 by 480.
inline constexpr int kDefaultWindowWidth = 345;
inline constexpr int kDefaultWindowHeight = 480;
// A folder's expanded bit as the tree stores it.
inline constexpr int kFolderExpanded = 32;
inline constexpr int kFolderCollapsed = 0;

class SettingsStore {
public:
    // The settings key is the level above the application's name ("Orvale").
    SettingsStore(const QString& settingsKey, const QString& applicationName);

    // A missing value, or one that is not a number, reads as the default.
    int GetProfileInt(const char* name, int defaultValue) const;
    void WriteProfileInt(const char* name, int value);
    QString GetProfileString(const char* name, const QString& defaultValue) const;
    void WriteProfileString(const char* name, const QString& value);

    // The default of a folder or path value, where it has one on this platform.
    static QString DefaultText(const char* name);

    // Writes what is pending, so that another store opened later reads it.
    void Flush();

private:
    static QString Key(const char* name);

    mutable QSettings settings_;
};

}  // namespace quillory

#endif
