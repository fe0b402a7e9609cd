// A data file table as CSV text, written so that the CSV conversion reads
// back the same records.
#ifndef QUILLORY_CSVWRITER_H
#define QUILLORY_CSVWRITER_H

#include <QByteArray>

namespace quillory {

class CDataFileTable;

struct CsvText {
    QByteArray utf8;
    int records = 0;  // lines written
    // Not 0: the field of this record and column (from 1) would read back
    // otherwise, and nothing was written.
    int unwritableRecord = 0;
    int unwritableColumn = 0;
};

// One line per record, ended by carriage return and line feed, up to the last
// record with a field set (the blank ones before it included, since the data
// file keeps what follows them); each line up to its last field set. The
// characters are turned from the data file's code page into UTF-8, led by the
// byte-order mark spreadsheets look for when any of them is not ASCII.
CsvText WriteCsvText(const CDataFileTable& table);

}  // namespace quillory

#endif
