// One printer data file in memory: 100 records of 8 text fields, a database
// name and a record count, written out in the printer's fixed 26,536-byte layout.
#ifndef QUILLORY_CDATAFILETABLE_H
#define QUILLORY_CDATAFILETABLE_H

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv7 {
struct UtcDate;
}

namespace quillory {

class PromptPort;

// The CSV text a conversion accepts: 6539 characters and a terminator.
inline constexpr std::size_t QV7DATAFILE_MAX_CSV_CHARS = 6540;

enum class DataFileImageStatus { Read, WrongSize, NoMarker };

class CDataFileTable {
public:
    static constexpr int kRecords = 100;
    static constexpr int kFieldsPerRecord = 8;
    static constexpr int kFieldWidth = 33;
    static constexpr int kNameWidth = 9;
    static constexpr int kFileSize = 26536;

    using Record = std::array<QByteArray, kFieldsPerRecord>;

    // A record of blanks only: CountRecords stops at the first, and trims
    // nothing from there on.
    static bool IsBlank(const Record& record);

    CDataFileTable();

    // Empties the name and every field, zeroes the count and the CSV buffer.
    void Reset();

    // Trims the leading non-empty records and counts them; records after the
    // first all-empty one are left exactly as they are.
    void CountRecords();

    // Counts the records, trims the name (cutting it to 9 characters) and
    // writes the file. Every failure is shown through the prompt and leaves
    // whatever was at the path untouched.
    bool WriteDataFile(const QString& path, PromptPort& prompt);

    // Resets the table and fills the name and every field from the bytes of
    // a data file, each text up to its first zero byte; the record count is
    // left to CountRecords. Bytes that are not exactly a data file's 26,536,
    // or that lack its marker, leave the table reset.
    DataFileImageStatus ReadDataFileImage(QByteArrayView image);

    // Texts are 8-bit, byte for byte as read; the empty text is an empty field.
    std::array<Record, kRecords> fields;
    QByteArray databaseName;
    std::uint8_t recordCount = 0;
    std::array<char, QV7DATAFILE_MAX_CSV_CHARS> csvBuffer{};

private:
    QByteArray FileImage(const qv7::UtcDate& today) const;
};

}  // namespace quillory

#endif
