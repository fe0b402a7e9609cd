#include "CsvWriter.h"

#include <QByteArrayView>

#include <algorithm>

#include "CDataFileTable.h"
#include "Windows1252.h"

namespace quillory {

namespace {

constexpr char kQuote = '"';
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kLineEnd[] = "\r\n";

bool IsSeparator(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Quotation marks are the reader's own, separators end a field unless it is
// quoted, and blanks at either end are kept by spreadsheets only when quoted.
bool NeedsQuotes(QByteArrayView field) {
    return field.contains(kQuote) || std::any_of(field.begin(), field.end(), IsSeparator) ||
           (!field.isEmpty() && (IsBlank(field.front()) || IsBlank(field.back())));
}

// The reader takes a quoted field that is only quotation marks so far as
// closed when a separator comes: a field that starts with a separator, after
// marks or not, ends there when written quoted as it stands.
bool EndsEarlyWhenQuoted(QByteArrayView field) {
    const auto firstOther = std::find_if(field.begin(), field.end(), [](char c) { return c != kQuote; });
    return firstOther != field.end() && IsSeparator(*firstOther);
}

QByteArray Quoted(QByteArrayView field) {
    QByteArray doubled = field.toByteArray();
    doubled.replace("\"", "\"\"");
    return kQuote + doubled + kQuote;
}

bool IsSet(const QByteArray& field) {
    return !field.isEmpty();
}

}  // namespace

CsvText WriteCsvText(const CDataFileTable& table) {
    CsvText csv;
    const auto& records = table.fields;
    const auto lastSet = std::find_if(records.rbegin(), records.rend(), [](const CDataFileTable::Record& record) {
        return std::any_of(record.begin(), record.end(), IsSet);
    });
    const int recordCount = static_cast<int>(records.rend() - lastSet);

    QByteArray text;
    // Until the first blank record the conversion trims every field it reads.
    bool trimmedWhenRead = true;
    for (int r = 0; r < recordCount; ++r) {
        const CDataFileTable::Record& record = records[r];
        const int fieldCount =
            static_cast<int>(std::find_if(record.rbegin(), record.rend(), IsSet).base() - record.begin());
        for (int f = 0; f < fieldCount; ++f) {
            if (f > 0) text += ',';
            const QByteArray& field = record[f];
            if (!EndsEarlyWhenQuoted(field)) {
                text += NeedsQuotes(field) ? Quoted(field) : field;
            } else if (trimmedWhenRead) {
                // A blank in front keeps the quoted field open past the
                // separator; the conversion trims it away again.
                text += Quoted(' ' + field);
            } else {
                return {QByteArray(), 0, r + 1, f + 1};
            }
        }
        text += kLineEnd;
        trimmedWhenRead = trimmedWhenRead && !CDataFileTable::IsBlank(record);
    }

    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    csv.utf8 = (ascii ? QByteArray() : QByteArray(kUtf8Mark)) + FromWindows1252(text).toUtf8();
    csv.records = recordCount;
    return csv;
}

}  // namespace quillory
