#include "CsvConversion.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "CDataFileTable.h"
#include "CsvParser.h"
#include "CsvWriter.h"
#include "PromptPort.h"
#include "Windows1252.h"

namespace quillory {

namespace {

const char kErrorOpeningCsv[] = "Error opening CSV file.";
const char kCsvTooLong[] = "error2:csv[QV7DATAFILE_MAX_CSV_CHARS] is too small";
const char kFieldTooLong[] = "Field in line %1, column %2 is longer than 33 characters.";
const char kCsvUtf16[] =
    "The CSV file is UTF-16 (\"Unicode\") text, which a data file cannot hold.\n"
    "Save it as CSV in UTF-8 or your usual code page and convert it again.";
const char kCsvZeroByte[] = "The CSV file holds zero bytes: it is not a text file.";
const char kUnmappedCharacter[] =
    "Field in line %1, column %2 holds the character %3, which a data file cannot hold:\n"
    "a data file holds Western European text (Windows-1252).";
const char kBrokenUtf8[] =
    "The CSV file starts with the UTF-8 byte-order mark but is not UTF-8 text.\n"
    "Save it as CSV in UTF-8 and convert it again.";
const char kCsvEmpty[] = "The CSV file is empty: there is no text to convert.";

const char kErrorOpeningDataFile[] = "Error opening data file.";
const char kNotDataFileSize[] = "The file is not a QV7 data file: it has %1 bytes, a data file %2.";
const char kNotDataFileMarker[] = "The file is not a QV7 data file: it lacks the data file marker.";
const char kUnwritableField[] =
    "Field %2 of record %1 cannot be written as CSV text: it comes after a blank record and starts\n"
    "with a comma or a line break (after quotation marks or not), which the CSV conversion would read otherwise.";
const char kErrorOpeningNewFile[] = "Error opening new file.";
const char kErrorWritingCsv[] = "Error writing new CSV file.";

void Show(PromptPort& prompt, const QString& text) {
    prompt.ShowMessage(text, MessageIcon::None, MessageButtons::Ok);
}

// Only a regular file is read, and no more of it than the limit and one byte
// more: the open of a named pipe waits for a writer that may never come, a
// device may never end, and a file over the limit is refused anyway, so a huge
// one costs no more than a small one.
bool ReadStart(const QString& path, qint64 limit, QByteArray* bytes) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    while (bytes->size() <= limit) {
        const QByteArray chunk = file.read(limit + 1 - bytes->size());
        if (chunk.isEmpty()) return file.error() == QFileDevice::NoError;
        bytes->append(chunk);
    }
    return true;
}

// A character as a message shows it: its code point, and the character itself
// only where it is seen as itself (no control, format or bidirectional
// character, no blank, no mark that would join the quotation mark).
QString ShownCharacter(char32_t character) {
    const QString code = QStringLiteral("U+%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
    if (!QChar::isPrint(character) || QChar::isMark(character) || QChar::isSpace(character)) return code;
    return QLatin1Char('"') + QString::fromUcs4(&character, 1) + QLatin1String("\" (") + code + QLatin1Char(')');
}

QString ParseFailureText(const CsvParseResult& parsed) {
    switch (parsed.status) {
    case CsvParseStatus::Utf16Text: return QString::fromLatin1(kCsvUtf16);
    case CsvParseStatus::ZeroByte: return QString::fromLatin1(kCsvZeroByte);
    case CsvParseStatus::TextTooLong: return QString::fromLatin1(kCsvTooLong);
    case CsvParseStatus::FieldTooLong:
        return QString::fromLatin1(kFieldTooLong).arg(parsed.line).arg(parsed.column);
    case CsvParseStatus::UnmappedCharacter:
        return QString::fromLatin1(kUnmappedCharacter)
            .arg(parsed.line)
            .arg(parsed.column)
            .arg(ShownCharacter(parsed.character));
    case CsvParseStatus::BrokenUtf8: return QString::fromLatin1(kBrokenUtf8);
    case CsvParseStatus::Empty: return QString::fromLatin1(kCsvEmpty);
    case CsvParseStatus::Parsed: break;
    }
    return QString();
}

// Written beside the target and renamed over it only when complete, so a
// failed write never damages a file the user already has.
bool WriteWhole(const QString& path, const QByteArray& bytes, PromptPort& prompt) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Show(prompt, QString::fromLatin1(kErrorOpeningNewFile));
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        Show(prompt, QString::fromLatin1(kErrorWritingCsv));
        return false;
    }
    return true;
}

}  // namespace

bool ConvertCsvToDataFile(CDataFileTable& table, const QString& csvPath, const QString& csvTitle,
                          const QString& targetPath, PromptPort& prompt, CsvParseResult* result) {
    table.Reset();
    table.databaseName = ToWindows1252(csvTitle);

    QByteArray bytes;
    if (!ReadStart(csvPath, kMaxCsvFileBytes, &bytes)) {
        Show(prompt, QString::fromLatin1(kErrorOpeningCsv));
        return false;
    }

    const CsvParseResult parsed = ParseCsvText(bytes, table);
    if (result) *result = parsed;
    if (parsed.status != CsvParseStatus::Parsed) {
        Show(prompt, ParseFailureText(parsed));
        return false;
    }
    return table.WriteDataFile(targetPath, prompt);
}

bool ConvertDataFileToCsv(CDataFileTable& table, const QString& dataPath, const QString& csvPath, PromptPort& prompt,
                          int* records) {
    QByteArray image;
    if (!ReadStart(dataPath, CDataFileTable::kFileSize, &image)) {
        Show(prompt, QString::fromLatin1(kErrorOpeningDataFile));
        return false;
    }
    switch (table.ReadDataFileImage(image)) {
    case DataFileImageStatus::WrongSize:
        Show(prompt,
             QString::fromLatin1(kNotDataFileSize).arg(QFileInfo(dataPath).size()).arg(CDataFileTable::kFileSize));
        return false;
    case DataFileImageStatus::NoMarker:
        Show(prompt, QString::fromLatin1(kNotDataFileMarker));
        return false;
    case DataFileImageStatus::Read: break;
    }

    const CsvText csv = WriteCsvText(table);
    if (csv.unwritableRecord) {
        Show(prompt, QString::fromLatin1(kUnwritableField).arg(csv.unwritableRecord).arg(csv.unwritableColumn));
        return false;
    }
    if (!WriteWhole(csvPath, csv.utf8, prompt)) return false;
    if (records) *records = csv.records;
    return true;
}

}  // namespace quillory
