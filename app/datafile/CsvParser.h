// Turns the bytes of a CSV file into the fields of a data file table. No
// files and no messages here, so every rule can be tried on bytes alone.
#ifndef QUILLORY_CSVPARSER_H
#define QUILLORY_CSVPARSER_H

#include <QByteArrayView>

#include "CDataFileTable.h"

namespace quillory {

enum class CsvParseStatus {
    Parsed,
    TextTooLong,      // the text does not fit in QV7DATAFILE_MAX_CSV_CHARS
    FieldTooLong,     // a field would not fit in its 33-byte slot
    Utf16Text,        // the text starts with a UTF-16 byte-order mark
    ZeroByte,         // the text holds a zero byte, so it is no 8-bit text
    UnmappedCharacter,  // a field holds a character the data file's code page lacks
    BrokenUtf8,       // the text starts with the UTF-8 byte-order mark but is no UTF-8
    Empty,            // no field holds more than white space
};

struct CsvParseResult {
    CsvParseStatus status = CsvParseStatus::Parsed;
    int line = 0;    // FieldTooLong, UnmappedCharacter: the line the field starts on, from 1
    int column = 0;  // FieldTooLong, UnmappedCharacter: the field's column, from 1
    char32_t character = 0;  // UnmappedCharacter: the first such character of the field
    qsizetype length = 0;    // TextTooLong: the text's length in characters, when it was read whole
};

// The largest file whose text can fit: a character of the code page takes at
// most 3 bytes in UTF-8, and a byte-order mark 3 more.
inline constexpr qsizetype kMaxCsvFileBytes = 3 * static_cast<qsizetype>(QV7DATAFILE_MAX_CSV_CHARS - 1) + 3;

// Fills the fields of a reset table from the file's bytes. A text that is
// valid UTF-8 (with or without the byte-order mark, which is dropped) is
// taken in the data file's code page (Windows1252.h) before any limit is
// measured; any other text byte for byte, as 8-bit files always were.
// A zero byte anywhere refuses the text: what it cut off would otherwise
// vanish without a word, as all but the first letter of a UTF-16 file
// ("Unicode text", which is named as such when its byte-order mark says so).
// Carriage return + line feed, line feed alone and carriage return alone each
// end a record, except inside quotation marks.
// Columns after the eighth and lines after the hundredth are dropped, with
// whatever characters they hold. When a field is refused the table holds only
// what came before it.
CsvParseResult ParseCsvText(QByteArrayView fileBytes, CDataFileTable& table);

}  // namespace quillory

#endif
