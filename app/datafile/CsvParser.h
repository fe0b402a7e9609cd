// Turns the bytes of a CSV file into the fields of a data file table. No
// files and no messages here, so every rule can be tried on bytes alone.
#ifndef QUILLORY_CSVPARSER_H
#define QUILLORY_CSVPARSER_H

#include <QByteArrayView>

namespace quillory {

class CDataFileTable;

enum class CsvParseStatus {
    Parsed,
    TextTooLong,   // the text does not fit in QV7DATAFILE_MAX_CSV_CHARS
    FieldTooLong,  // a field would not fit in its 33-byte slot
    Utf16Text,     // the text starts with a UTF-16 byte-order mark
    ZeroByte,      // the text holds a zero byte, so it is no 8-bit text
};

struct CsvParseResult {
    CsvParseStatus status = CsvParseStatus::Parsed;
    int line = 0;    // FieldTooLong: the line the field starts on, from 1
    int column = 0;  // FieldTooLong: the field's column, from 1
};

// Fills the fields of a reset table from the file's bytes. A zero byte
// anywhere refuses the text: what it cut off would otherwise vanish without a
// word, as all but the first letter of a UTF-16 file ("Unicode text", which
// is named as such when its byte-order mark says so). Carriage return + line
// feed, line feed alone and carriage return alone each end a record, except
// inside quotation marks.
// Columns after the eighth and lines after the hundredth are dropped. When a
// field is too long the table holds only what came before it.
CsvParseResult ParseCsvText(QByteArrayView fileBytes, CDataFileTable& table);

}  // namespace quillory

#endif
