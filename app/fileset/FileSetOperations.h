// "Send file set..." and "Get all files...": many files moved in one go by
// the single-file jobs, listed in a file set definition (FileSetDocument.h).
// The whole set holds the busy flag, so no other transfer or refresh slips
// in between two of its files.
#ifndef QUILLORY_FILE_SET_OPERATIONS_H
#define QUILLORY_FILE_SET_OPERATIONS_H

#include <QString>
#include <QStringList>

#include "InstallFolderLookup.h"
#include "FileKind.h"

class QWidget;

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class DOMDocument;
XERCES_CPP_NAMESPACE_END

namespace quillory {

class CPrinterService;
class FileSetDialogPort;
class SettingsStore;
class TransferBusyGuard;

// Tries per file before get-all counts it as failed.
inline constexpr int kReceiveTries = 3;
// Where get-all lists what did arrive when not everything did.
inline constexpr char kIncompleteDefinitionName[] = "allFiles.incomplete.fsd";

class FileSetOperations {
public:
    // Starts the XML library itself for each definition it reads or writes.
    FileSetOperations(CPrinterService& service, InstallFolderLookup::DriveList drives = LocalDiskDrives);

    // The commands: dialog, settings, the set, one summary message. Refused
    // without a word while a transfer runs.
    bool SendFileSet(FileSetDialogPort& dialogs, SettingsStore& settings, QWidget* parent);
    void GetAllFiles(FileSetDialogPort& dialogs, SettingsStore& settings, QWidget* parent);

    // The commands after their dialog: the set, then its summary message.
    bool SendAndReport(const QString& path, QWidget* parent);
    bool ReceiveAndReport(const QString& folder, QWidget* parent);

    // Validates the definition against the installed schema, then sends each
    // listed data and label file in document order; a failed file does not
    // stop the others. True only when everything was sent.
    bool SendFileSetDefinition(QString path, QWidget* parent);
    // Fetches every data file, then (only if all came) every label file into
    // the folder, and writes allFiles.fsd listing what was fetched. When not
    // everything came, an allFiles.fsd already there is left as it was (it
    // must not shrink to part of the printer) and the list goes into
    // allFiles.incomplete.fsd. True when everything was fetched and listed.
    bool WriteAllFilesDefinition(QString folder, QWidget* parent);
    // Why the last WriteAllFilesDefinition fell short, one line each: every
    // file that did not arrive or was not written, with the reason.
    const QStringList& receiveFailures() const { return receiveFailures_; }

private:
    bool ReceiveAll(FileKind kind, const QString& folder, const TransferBusyGuard& busy, QWidget* parent,
                    xercesc::DOMDocument* document);

    CPrinterService& service_;
    InstallFolderLookup lookup_;
    QStringList receiveFailures_;
};

}  // namespace quillory

#endif
