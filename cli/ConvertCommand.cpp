// qv7 convert: a CSV file into a printer data file, with no printer needed.
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
void ExplainOpenFailure(const QFileInfo& csvFile, const QString& target) {
    // Opening a named pipe a second time could wait for a writer forever.
    if (csvFile.exists() && !csvFile.isFile() && !csvFile.isDir()) return;
    const QString csvPath = csvFile.filePath();
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(csvPath + QLatin1String(": ") + csv.errorString()).constData());
        return;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(target + QLatin1String(": ") + out.errorString()).constData());
        return;
    }
    out.cancelWriting();
}

}  // namespace

int RunConvert(Invocation& invocation) {
    const Arguments& args = invocation.operands;
    const QFileInfo csv(FromArgument(args[0]));
    const QString title = csv.completeBaseName();
    const QString target =
        QDir::cleanPath(args.size() == 2 ? FromArgument(args[1]) : csv.dir().filePath(title + ".dat"));
    // "qv7 convert list.dat" would otherwise replace its own input.
    if (SameFile(csv, QFileInfo(target))) {
        return UsageError("the target " + ToArgument(target) + " is the CSV file itself; name another target file");
    }

    invocation.result.insert("source", csv.filePath());
    invocation.result.insert("target", target);

    quillory::CDataFileTable table;
    TerminalPrompt prompt;
    quillory::CsvParseStatus parsed = quillory::CsvParseStatus::Parsed;
    if (!quillory::ConvertCsvToDataFile(table, csv.filePath(), title, target, prompt, &parsed)) {
        ExplainOpenFailure(csv, target);
        // The program's words for a text over the limit name no number.
        if (parsed == quillory::CsvParseStatus::TextTooLong) {
            std::fprintf(stderr, "qv7: %s holds %lld characters; a data file takes a CSV text of at most %zu\n",
                         TerminalText(csv.filePath()).constData(), static_cast<long long>(csv.size()),
                         quillory::QV7DATAFILE_MAX_CSV_CHARS - 1);
        }
        return kExitFailed;
    }

    const QString database = QFile::decodeName(table.databaseName);
    if (invocation.json()) {
        invocation.result.insert("database", database);
        invocation.result.insert("records", table.recordCount);
        return kExitSuccess;
    }
    std::printf("Wrote %s: database \"%s\", %d record%s.\n", TerminalText(target).constData(),
                TerminalText(database).constData(), table.recordCount, table.recordCount == 1 ? "" : "s");
    return kExitSuccess;
}

}  // namespace qv7cli
