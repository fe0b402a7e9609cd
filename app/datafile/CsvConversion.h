// Converting a CSV file into a printer data file.
#ifndef QUILLORY_CSVCONVERSION_H
#define QUILLORY_CSVCONVERSION_H

#include <QString>

#include "CsvParser.h"

namespace quillory {

class CDataFileTable;
class PromptPort;

// Resets the table, names the database after the CSV file's title, reads and
// parses the CSV file and writes the data file at targetPath. Every failure
// is shown through the prompt; nothing is written unless the whole text
// converted. *status, if given, tells how the parse ended (Parsed when the
// file could not be read at all).
bool ConvertCsvToDataFile(CDataFileTable& table, const QString& csvPath, const QString& csvTitle,
                          const QString& targetPath, PromptPort& prompt, CsvParseStatus* status = nullptr);

}  // namespace quillory

#endif
