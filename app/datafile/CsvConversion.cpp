#include "CsvConversion.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include "CDataFileTable.h"
#include "CsvParser.h"
#include "PromptPort.h"

namespace quillory {

namespace {

const char kErrorOpeningCsv[] = "Error opening CSV file.";
const char kCsvTooLong[] = "error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small";
const char kFieldTooLong[] = "Field in line %1, column %2 is longer than 33 characters.";
const char kCsvUtf16[] =
    "The CSV file is UTF-16 (\"Unicode\") text, which a data file cannot hold.\n"
    "Save it as CSV in UTF-8 or your usual code page and convert it again.";
const char kCsvZeroByte[] = "The CSV file holds zero bytes: it is not a text file.";

void Show(PromptPort& prompt, const QString& text) {
    prompt.ShowMessage(text, MessageIcon::None, MessageButtons::Ok);
}

// A text that fills the whole buffer is refused anyway, so there is no need
// to read past it: a huge file costs no more than a small one.
bool ReadCsvStart(QFile& file, QByteArray* bytes) {
    const qint64 wanted = static_cast<qint64>(QV7DATAFILE_MAX_CSV_CHARS);
    while (bytes->size() < wanted) {
        const QByteArray chunk = file.read(wanted - bytes->size());
        if (chunk.isEmpty()) return file.error() == QFileDevice::NoError;
        bytes->append(chunk);
    }
    return true;
}

}  // namespace

bool ConvertCsvToDataFile(CDataFileTable& table, const QString& csvPath, const QString& csvTitle,
                          const QString& targetPath, PromptPort& prompt, CsvParseStatus* status) {
    table.Reset();
    table.databaseName = QFile::encodeName(csvTitle);

    QFile csv(csvPath);
    QByteArray bytes;
    // Only a regular file is read: the open of a named pipe waits for a writer
    // that may never come, and a device may never end.
    if (!QFileInfo(csvPath).isFile() || !csv.open(QIODevice::ReadOnly) || !ReadCsvStart(csv, &bytes)) {
        Show(prompt, QString::fromLatin1(kErrorOpeningCsv));
        return false;
    }

    const CsvParseResult parsed = ParseCsvText(bytes, table);
    if (status) *status = parsed.status;
    switch (parsed.status) {
    case CsvParseStatus::Utf16Text:
        Show(prompt, QString::fromLatin1(kCsvUtf16));
        return false;
    case CsvParseStatus::ZeroByte:
        Show(prompt, QString::fromLatin1(kCsvZeroByte));
        return false;
    case CsvParseStatus::TextTooLong:
        Show(prompt, QString::fromLatin1(kCsvTooLong));
        return false;
    case CsvParseStatus::FieldTooLong:
        Show(prompt, QString::fromLatin1(kFieldTooLong).arg(parsed.line).arg(parsed.column));
        return false;
    case CsvParseStatus::Parsed:
        break;
    }
    return table.WriteDataFile(targetPath, prompt);
}

}  // namespace quillory
