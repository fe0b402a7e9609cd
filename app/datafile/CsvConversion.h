// Converting a CSV file into a printer data file, and a data file back into
// CSV text.
#ifndef QUILLORY_CSVCONVERSION_H
#define QUILLORY_CSVCONVERSION_H

#include <QString>

#include "CsvParser.h"

namespace quillory {

class CDataFileTable;
class PromptPort;

// Resets the table, names the database after the CSV file's title (in the
// data file's code page; a character it lacks becomes '?'), reads and parses
// the CSV file and writes the data file at targetPath. Every failure is shown
// through the prompt; nothing is written unless the whole text converted.
// *result, if given, tells how the parse ended (Parsed when the file could not
// be read at all).
bool ConvertCsvToDataFile(CDataFileTable& table, const QString& csvPath, const QString& csvTitle,
                          const QString& targetPath, PromptPort& prompt, CsvParseResult* result = nullptr);

// Reads the data file at dataPath into the table and writes its records as
// CSV text (CsvWriter.h) at csvPath. Every failure is shown through the
// prompt and leaves whatever was at csvPath untouched. *records, if given,
// is the number of records written.
bool ConvertDataFileToCsv(CDataFileTable& table, const QString& dataPath, const QString& csvPath, PromptPort& prompt,
                          int* records = nullptr);

}  // namespace quillory

#endif
