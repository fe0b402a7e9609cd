#include "FirmwareOperations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <memory>
#include <system_error>

#include "CPrinterService.h"
#include "FileChoicePort.h"
#include "FirmwareTexts.h"
#include "PlatformPaths.h"
#include "ProgressWindow.h"
#include "PromptPort.h"
#include "QV7_Sys_API.h"
#include "SettingsStore.h"
#include "StringTable.h"

namespace quillory {

namespace {

const char kAccessCode[] = "mirabel";

const char kBackup200[] = "QV7_200_BK.bin";
const char kBackup300[] = "QV7_300_BK.bin";
// A firmware of neither size: kept apart, so it can never take the place of
// the last good backup, the one a restore can use.
const char kBackupUnrecognised[] = "QV7_unrecognised_BK.bin";
// The new backup lands here first: the old ones stay until it is complete.
// Named as the device link names its own temporaries, with the process id,
// so the next fetch into the folder removes one that a killed run left.
const char kIncomingBackup[] = ".QV7_BK_incoming.bin.part-%1-0";
// What earlier versions named it, for every run.
const char kIncomingBackupOfEarlierVersions[] = ".QV7_BK_incoming.bin";

// Indexed [generation - 1][model - 1].
const char* const kImageNames[2][2] = {
    {"QV7EQ_200.bin", "QV7E_200.bin"},
    {"QV7EQ_300.bin", "QV7E_300.bin"},
};

std::string Native(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString LibraryError(CQV7_Sys_API& connection) {
    return QString::fromStdString(connection.GetError());
}

// Puts a complete file in place over whatever has the target's name, in one
// step, so the target is never missing or half written.
bool Replace(const QString& from, const QString& to) {
    std::error_code failed;
    std::filesystem::rename(Native(from), Native(to), failed);
    return !failed;
}

// An image the printer could take: a file with something in it. Announcing an
// empty image would put the printer into an upgrade with nothing to follow.
bool CanBeFirmwareImage(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}

// A run killed after its new backup took its name, but before the other
// generation's backup was removed, leaves both: the older one is removed
// now, as that run would have done. So is an incoming file by the name
// earlier versions gave it, which no run of this one is writing.
void FinishKilledBackup(const QString& folder) {
    QFile::remove(PlatformPaths::Join(folder, QLatin1String(kIncomingBackupOfEarlierVersions)));
    const QFileInfo backup200(PlatformPaths::Join(folder, QLatin1String(kBackup200)));
    const QFileInfo backup300(PlatformPaths::Join(folder, QLatin1String(kBackup300)));
    if (!backup200.isFile() || !backup300.isFile()) return;
    if (backup200.lastModified() < backup300.lastModified()) QFile::remove(backup200.filePath());
    if (backup300.lastModified() < backup200.lastModified()) QFile::remove(backup300.filePath());
}

}  // namespace

bool IsAccessCode(const QString& typed) {
    return typed == QLatin1String(kAccessCode);
}

QString FirmwareImagePath(int generation, int model) {
    if (generation < kGeneration200 || generation > kGeneration300) return QString();
    if (model < kModelQV7EQ || model > kModelQV7E) return QString();
    return PlatformPaths::Join(PlatformPaths::FirmwareImageFolder(),
                               QLatin1String(kImageNames[generation - 1][model - 1]));
}

QString FirmwareBackupPath(int generation) {
    const char* name = generation == kGeneration200   ? kBackup200
                       : generation == kGeneration300 ? kBackup300
                                                      : kBackupUnrecognised;
    return PlatformPaths::Join(PlatformPaths::FirmwareBackupFolder(), QLatin1String(name));
}

qint64 FirmwareImageSize(int generation) {
    if (generation == kGeneration200) return kFirmwareImageSize200;
    if (generation == kGeneration300) return kFirmwareImageSize300;
    return -1;
}

FirmwareOperations::FirmwareOperations(CPrinterService& service, FileChoicePort& files,
                                       FirmwareChoicePort& choices, SettingsStore* settings)
    : service_(service), files_(files), choices_(&choices), settings_(settings) {}

int FirmwareOperations::FetchFirmware(QWidget* parent, int mode) {
    lastFetchedFile_.clear();
    TransferBusyGuard busy(service_);
    if (!busy.acquired()) return kGenerationUnknown;

    // A port may let the user back out here (qv7 asks before going on).
    if (service_.prompt().ShowMessage(LoadString(IDS_FIRMWARE_POWER_STEPS), MessageIcon::Exclamation,
                                      MessageButtons::Ok) != MessageAnswer::Ok) {
        return kGenerationUnknown;
    }
    CQV7_Sys_API connection;
    if (!Connected(connection)) return kFetchFailed;
    return mode == kBackupBeforeUpgrade ? BackUp(connection, parent) : SaveCopy(connection, parent);
}

int FirmwareOperations::BackUp(CQV7_Sys_API& connection, QWidget* parent) {
    PromptPort& prompt = service_.prompt();
    prompt.ShowMessage(QLatin1String(firmwaretext::kBackupFirst), MessageIcon::None, MessageButtons::Ok);

    // The old backups are left alone until the new one is complete: a failed
    // backup just before an upgrade must not leave the user with none at all.
    const QString folder = PlatformPaths::FirmwareBackupFolder();
    QDir().mkpath(folder);
    FinishKilledBackup(folder);
    const QString incoming =
        PlatformPaths::Join(folder, QString::fromLatin1(kIncomingBackup).arg(QCoreApplication::applicationPid()));
    const int generation = Receive(connection, incoming, IDS_FIRMWARE_BACKUP_INIT, IDS_FIRMWARE_BACKUP, parent);

    QString failure;
    const QString kept = FirmwareBackupPath(generation);
    if (connection.IsError()) {
        failure = LibraryError(connection);
    } else if (!Replace(incoming, kept)) {
        failure = QLatin1String(firmwaretext::kUnableToWrite) + kept;
    }
    if (!failure.isEmpty()) {
        QFile::remove(incoming);
        prompt.ShowMessage(LoadString(IDS_FIRMWARE_RECEIVE_FAILED) + failure, MessageIcon::Stop, MessageButtons::Ok);
        return kFetchFailed;
    }
    // One recognised backup, of the firmware the printer holds now.
    if (generation == kGeneration200) QFile::remove(FirmwareBackupPath(kGeneration300));
    if (generation == kGeneration300) QFile::remove(FirmwareBackupPath(kGeneration200));
    lastFetchedFile_ = kept;

    if (generation == kGenerationUnknown) {
        prompt.ShowMessage(QLatin1String(firmwaretext::kNotRecognised), MessageIcon::Stop, MessageButtons::Ok);
        return kGenerationUnknown;
    }
    prompt.ShowMessage(QLatin1String(firmwaretext::kBackupDone), MessageIcon::None, MessageButtons::Ok);
    return generation;
}

int FirmwareOperations::SaveCopy(CQV7_Sys_API& connection, QWidget* parent) {
    uint32_t version = 0;
    connection.GetVersion(&version);

    const QString lastPath = settings_ ? settings_->GetProfileString(setting::kFirmwareDownloadPath, QString())
                                       : QString();
    const FileChoice choice{LoadString(IDS_SELECT_DESTINATION_FILE), LoadString(IDS_FIRMWARE_FILE_FILTER),
                            QLatin1String(kFirmwareExtension),
                            QLatin1String(kProposedNamePrefix) + QString::number(version),
                            lastPath.isEmpty() ? QString() : QFileInfo(lastPath).path()};
    QString path;
    if (!files_.ChooseFileToSave(choice, &path)) return kGenerationUnknown;
    if (settings_) settings_->WriteProfileString(setting::kFirmwareDownloadPath, path);

    const int generation = Receive(connection, path, IDS_FIRMWARE_RECEIVE_INIT, IDS_FIRMWARE_RECEIVE, parent);
    PromptPort& prompt = service_.prompt();
    if (connection.IsError()) {
        prompt.ShowMessage(LoadString(IDS_FIRMWARE_RECEIVE_FAILED) + LibraryError(connection), MessageIcon::Stop,
                           MessageButtons::Ok);
        return kFetchFailed;
    }
    lastFetchedFile_ = path;
    prompt.ShowMessage(LoadString(IDS_FIRMWARE_RECEIVE_DONE), MessageIcon::None, MessageButtons::Ok);
    return generation;
}

int FirmwareOperations::Receive(CQV7_Sys_API& connection, const QString& path, int windowTextId,
                                int transferTextId, QWidget* parent) {
    std::unique_ptr<ProgressWindow> window =
        service_.progressWindows().Create(LoadString(windowTextId), LoadString(transferTextId), parent);
    window->Open();
    connection.GetFirmware(Native(path), TransferProgress);
    const int generation = window->finishedImageKind();
    window->Close();
    return generation;
}

bool FirmwareOperations::UpgradeFirmware(QWidget* parent, int generation) {
    if (generation != kGeneration200 && generation != kGeneration300) return false;
    const KeypadModel model = choices_->SelectModel();
    if (model != kModelQV7EQ && model != kModelQV7E) return false;

    TransferBusyGuard busy(service_);
    if (!busy.acquired()) return false;
    CQV7_Sys_API connection;
    if (!Connected(connection)) return false;

    const QString image = FirmwareImagePath(generation, model);
    const QFileInfo imageFile(image);
    if (!imageFile.exists()) {
        service_.prompt().ShowMessage(QLatin1String(firmwaretext::kImageMissing), MessageIcon::None,
                                      MessageButtons::Ok);
        return false;
    }
    // The printer takes whatever it is sent: a cut-off or foreign image
    // would leave it unable to start. Only an image of the size its
    // generation has goes across.
    if (!imageFile.isFile() || imageFile.size() != FirmwareImageSize(generation)) {
        service_.prompt().ShowMessage(QString::fromLatin1(firmwaretext::kImageWrongSize)
                                          .arg(image)
                                          .arg(imageFile.size())
                                          .arg(FirmwareImageSize(generation)),
                                      MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    return Send(connection, image, parent);
}

bool FirmwareOperations::RestoreFirmware(QWidget* parent) {
    if (!choices_->EnterAccessCode()) return false;

    TransferBusyGuard busy(service_);
    if (!busy.acquired()) return false;
    if (service_.prompt().ShowMessage(LoadString(IDS_FIRMWARE_POWER_STEPS), MessageIcon::Exclamation,
                                      MessageButtons::Ok) != MessageAnswer::Ok) {
        return false;
    }

    // The backups are where a restore usually comes from.
    const FileChoice choice{LoadString(IDS_SELECT_FIRMWARE_FILE), LoadString(IDS_FIRMWARE_FILE_FILTER),
                            QLatin1String(kFirmwareExtension), QString(), PlatformPaths::FirmwareBackupFolder()};
    QString path;
    if (!files_.ChooseFileToOpen(choice, &path)) return false;
    if (settings_) settings_->WriteProfileString(setting::kFirmwareUpgradePath, path);

    CQV7_Sys_API connection;
    if (!Connected(connection)) return false;
    return Send(connection, path, parent);
}

bool FirmwareOperations::BackUpAndUpgrade(QWidget* parent) {
    return UpgradeFirmware(parent, FetchFirmware(parent, kBackupBeforeUpgrade));
}

bool FirmwareOperations::Send(CQV7_Sys_API& connection, const QString& path, QWidget* parent) {
    PromptPort& prompt = service_.prompt();
    const QString failed = LoadString(IDS_FIRMWARE_UPGRADE_FAILED);
    if (!CanBeFirmwareImage(path)) {
        prompt.ShowMessage(failed + QLatin1String(firmwaretext::kInvalidFileName) + path, MessageIcon::Stop,
                           MessageButtons::Ok);
        return false;
    }

    std::unique_ptr<ProgressWindow> window = service_.progressWindows().Create(
        LoadString(IDS_FIRMWARE_UPGRADE_INIT), LoadString(IDS_FIRMWARE_UPGRADE), parent);
    window->Open();
    connection.GiveFirmware(Native(path), TransferProgress);
    window->Close();
    window.reset();

    if (connection.IsError()) {
        prompt.ShowMessage(failed + LibraryError(connection), MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    prompt.ShowMessage(LoadString(IDS_FIRMWARE_UPGRADE_DONE), MessageIcon::None, MessageButtons::Ok);
    return true;
}

bool FirmwareOperations::Connected(CQV7_Sys_API& connection) {
    if (!connection.IsError()) return true;
    service_.prompt().ShowMessage(LoadString(IDS_FIRMWARE_CONNECT_FAILED) + LibraryError(connection),
                                  MessageIcon::Stop, MessageButtons::Ok);
    return false;
}

}  // namespace quillory
