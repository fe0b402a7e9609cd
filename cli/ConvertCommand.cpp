// qv7 convert: a CSV file into a printer data file or a data file back into
// CSV text, with no printer needed.
#include <cstdio>
#include <string>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "CDataFileTable.h"
#include "Commands.h"
#include "CsvConversion.h"
#include "PrinterSession.h"
#include "StringTable.h"
#include "TerminalPrompt.h"
#include "TerminalText.h"
#include "Windows1252.h"

namespace qv7cli {

namespace {

QString FromArgument(const std::string& arg) {
    return QFile::decodeName(QByteArray::fromStdString(arg));
}

std::string ToArgument(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool SameFile(const QFileInfo& a, const QFileInfo& b) {
    return a.exists() && b.exists() && a.canonicalFilePath() == b.canonicalFilePath();
}

// The program's own messages ("Error opening CSV file.") name neither the
// file nor the cause; on a terminal those are the first things asked, so the
// failed open is tried again to learn them. Neither attempt leaves a file.
void ExplainOpenFailure(const QFileInfo& sourceFile, const QString& target) {
    // Opening a named pipe a second time could wait for a writer forever.
    if (sourceFile.exists() && !sourceFile.isFile() && !sourceFile.isDir()) return;
    const QString sourcePath = sourceFile.filePath();
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "qv7: %s\n",
                     TerminalText(sourcePath + QLatin1String(": ") + source.errorString()).constData());
        return;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(target + QLatin1String(": ") + out.errorString()).constData());
        return;
    }
    out.cancelWriting();
}

QByteArray RecordCountText(int count) {
    return QByteArray::number(count) + (count == 1 ? " record" : " records");
}

int Converted(Invocation& invocation, const QString& target, const QByteArray& databaseName, int records) {
    const QString database = quillory::FromWindows1252(databaseName);
    if (invocation.json()) {
        invocation.result.insert("database", database);
        invocation.result.insert("records", records);
        return kExitSuccess;
    }
    std::printf("Wrote %s: database \"%s\", %s.\n", TerminalText(target).constData(),
                TerminalText(database).constData(), RecordCountText(records).constData());
    return kExitSuccess;
}

int ConvertCsv(Invocation& invocation, const QFileInfo& csv, const QString& target) {
    quillory::CDataFileTable table;
    TerminalPrompt prompt;
    quillory::CsvParseResult parsed;
    if (!quillory::ConvertCsvToDataFile(table, csv.filePath(), csv.completeBaseName(), target, prompt, &parsed)) {
        ExplainOpenFailure(csv, target);
        // The program's words for a text over the limit name no number.
        if (parsed.status == quillory::CsvParseStatus::TextTooLong) {
            const QByteArray size = parsed.length ? QByteArray::number(parsed.length) + " characters"
                                                  : QByteArray::number(csv.size()) + " bytes";
            std::fprintf(stderr, "qv7: %s holds %s; a data file takes a CSV text of at most %zu characters\n",
                         TerminalText(csv.filePath()).constData(), size.constData(),
                         quillory::QV7DATAFILE_MAX_CSV_CHARS - 1);
        }
        return kExitFailed;
    }
    return Converted(invocation, target, table.databaseName, table.recordCount);
}

int ConvertDataFile(Invocation& invocation, const QFileInfo& dataFile, const QString& target) {
    // A CSV file is text someone wrote by hand or in a spreadsheet, not
    // something made from the printer's files: it is replaced only when the
    // user says so.
    if (QFileInfo::exists(target) && !invocation.yes()) {
        if (isatty(STDIN_FILENO) != 1) {
            return Failed(ToArgument(target) + " already exists; use --yes to replace it");
        }
        TerminalPrompt question;
        if (question.ShowMessage(target + quillory::LoadString(quillory::IDS_ALREADY_EXISTS),
                                 quillory::MessageIcon::Exclamation,
                                 quillory::MessageButtons::YesNo) != quillory::MessageAnswer::Yes) {
            return Failed("nothing was written");
        }
    }
    quillory::CDataFileTable table;
    TerminalPrompt prompt;
    int records = 0;
    if (!quillory::ConvertDataFileToCsv(table, dataFile.filePath(), target, prompt, &records)) {
        ExplainOpenFailure(dataFile, target);
        return kExitFailed;
    }
    return Converted(invocation, target, table.databaseName, records);
}

}  // namespace

int RunConvert(Invocation& invocation) {
    const Arguments& args = invocation.operands;
    const QFileInfo source(FromArgument(args[0]));
    // A data file becomes CSV text; anything else is read as CSV, as it always was.
    const bool fromDataFile = source.suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0;
    const QString extension = QLatin1String(fromDataFile ? ".csv" : ".dat");
    const QString target = QDir::cleanPath(
        args.size() == 2 ? FromArgument(args[1]) : source.dir().filePath(source.completeBaseName() + extension));
    // "qv7 convert list.dat" would otherwise replace its own input.
    if (SameFile(source, QFileInfo(target))) {
        return UsageError("the target " + ToArgument(target) +
                          " is the file to convert itself; name another target file");
    }
    invocation.result.insert("source", source.filePath());
    invocation.result.insert("target", target);
    return fromDataFile ? ConvertDataFile(invocation, source, target) : ConvertCsv(invocation, source, target);
}

}  // namespace qv7cli
