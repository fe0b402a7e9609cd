#include "SaveAsCsvCommand.h"

#include <QDir>
#include <QTemporaryDir>

#include "CDataFileTable.h"
#include "CPrinterService.h"
#include "CsvConversion.h"
#include "FileChoicePort.h"
#include "PromptPort.h"
#include "SlotFilePath.h"
#include "StringTable.h"

namespace quillory {

namespace {

const char kChoiceTitle[] = "Select target CSV file.";
const char kCsvFilter[] = "Comma-seperated value files (*.csv)|*.csv||";
const char kCsvExtension[] = "csv";
const char kTemporaryFolder[] = "quillory-csv-XXXXXX";
const char kFetchedName[] = "slot.dat";

}  // namespace

bool SaveDataSlotAsCsv(CPrinterService& service, uint8_t slot, FileChoicePort& files, QWidget* parent) {
    if (service.IsTransferInProgress()) return false;
    PromptPort& prompt = service.prompt();
    // An empty slot has a name of no characters.
    const QString storedName = service.GetDataFileName(slot);
    if (!service.IsDataSlotValid(slot) || storedName.isEmpty()) {
        prompt.ShowMessage(LoadString(IDS_SELECT_VALID_SOURCE), MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }

    // The printer names the file; a name that is not a plain file name is
    // not offered.
    const FileChoice choice{QLatin1String(kChoiceTitle), QLatin1String(kCsvFilter), QLatin1String(kCsvExtension),
                            IsPlainFileName(storedName) ? storedName : QString()};
    QString csvPath;
    if (!files.ChooseFileToSave(choice, &csvPath)) return false;

    // Removed with all it holds when the command ends, whichever way.
    const QTemporaryDir temporary(QDir::temp().filePath(QLatin1String(kTemporaryFolder)));
    const QString fetched = temporary.filePath(QLatin1String(kFetchedName));
    if (!temporary.isValid() || !service.Transfer(FileKind::Data, TransferDirection::Receive, slot, fetched, parent)) {
        ShowTransferResult(prompt, FileKind::Data, TransferDirection::Receive, false);
        return false;
    }
    CDataFileTable table;
    return ConvertDataFileToCsv(table, fetched, csvPath, prompt);
}

}  // namespace quillory
