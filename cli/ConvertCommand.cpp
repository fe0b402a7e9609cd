// qv7 convert: a CSV file into a printer data file or a data file back into
// CSV text, with no printer needed.
#include <cstdio>
#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "CDataFileTable.h"
#include "Commands.h"
#include "CsvConversion.h"
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

int ConvertCsv(const QFileInfo& csv, const QString& target) {
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
    std::printf("Wrote %s: database \"%s\", %s.\n", TerminalText(target).constData(),
                TerminalText(quillory::FromWindows1252(table.databaseName)).constData(),
                RecordCountText(table.recordCount).constData());
    return kExitSuccess;
}

int ConvertDataFile(const QFileInfo& dataFile, const QString& target) {
    quillory::CDataFileTable table;
    TerminalPrompt prompt;
    int records = 0;
    if (!quillory::ConvertDataFileToCsv(table, dataFile.filePath(), target, prompt, &records)) {
        ExplainOpenFailure(dataFile, target);
        return kExitFailed;
    }
    std::printf("Wrote %s: database \"%s\", %s.\n", TerminalText(target).constData(),
                TerminalText(quillory::FromWindows1252(table.databaseName)).constData(),
                RecordCountText(records).constData());
    return kExitSuccess;
}

}  // namespace

int RunConvert(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("convert: unknown option '" + arg + "' (name such a file as ./" + arg + ")");
        }
    }
    if (args.empty()) return UsageError("convert needs a CSV file or a data file");
    if (args.size() > 2) return UsageError("convert takes a CSV or data file and at most one target file");

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
    return fromDataFile ? ConvertDataFile(source, target) : ConvertCsv(source, target);
}

}  // namespace qv7cli
