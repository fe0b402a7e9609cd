// The firmware commands of the printer service: a backup before an upgrade,
// the upgrade with the installed image that fits the printer, a copy of the
// current firmware, and a restore from any image behind the access code.
//
// They live beside the service rather than in it so that the service knows
// nothing of firmware; whoever owns the service (the main frame, qv7) makes
// one of these over it. Each run holds the service's busy guard and opens one
// printer connection.
#ifndef QUILLORY_CFIRMWARE_OPERATIONS_H
#define QUILLORY_CFIRMWARE_OPERATIONS_H

#include <QString>

#include "FirmwareChoicePort.h"

class QWidget;
class CQV7_Sys_API;

namespace quillory {

class CPrinterService;
class FileChoicePort;
class SettingsStore;

// What a fetch found, read from the size of the image that came across.
enum FirmwareGeneration : int {
    kGenerationUnknown = 0,  // another size, nothing fetched, or the fetch did not start
    kGeneration200 = 1,      // 1,048,576 bytes: the images named ..._200.bin
    kGeneration300 = 2,      // 1,114,112 bytes: ..._300.bin
    kFetchFailed = 3,
};

enum FirmwareFetchMode : int {
    kSaveToChosenFile = 0,
    kBackupBeforeUpgrade = 1,
};

class FirmwareOperations {
public:
    // settings may be null: the runs then neither read nor remember paths.
    FirmwareOperations(CPrinterService& service, FileChoicePort& files, FirmwareChoicePort& choices,
                       SettingsStore* settings);

    int FetchFirmware(QWidget* parent, int mode);
    // True when an installed image was sent without an error.
    bool UpgradeFirmware(QWidget* parent, int generation);
    // True when the chosen image was sent without an error.
    bool RestoreFirmware(QWidget* parent);
    // The Upgrade firmware command: the backup, then the upgrade it allows.
    bool BackUpAndUpgrade(QWidget* parent);

    // The file the last fetch wrote, or empty when it wrote none.
    const QString& lastFetchedFile() const { return lastFetchedFile_; }

    void SetChoices(FirmwareChoicePort& choices) { choices_ = &choices; }

private:
    int BackUp(CQV7_Sys_API& connection, QWidget* parent);
    int SaveCopy(CQV7_Sys_API& connection, QWidget* parent);
    int Receive(CQV7_Sys_API& connection, const QString& path, int windowTextId, int transferTextId,
                QWidget* parent);
    bool Send(CQV7_Sys_API& connection, const QString& path, QWidget* parent);
    bool Connected(CQV7_Sys_API& connection);

    CPrinterService& service_;
    FileChoicePort& files_;
    FirmwareChoicePort* choices_;
    SettingsStore* settings_;
    QString lastFetchedFile_;
};

// The installed image for a generation (1 or 2) and a model (1 or 2); empty
// for any other pair.
QString FirmwareImagePath(int generation, int model);
// Where the backup of a generation's firmware is kept; an unrecognised
// firmware has a name of its own.
QString FirmwareBackupPath(int generation);
// The size of a generation's firmware image in bytes; -1 for no generation.
qint64 FirmwareImageSize(int generation);

}  // namespace quillory

#endif
