#include "CsvParser.h"

#include <QByteArray>

#include <algorithm>

#include "CDataFileTable.h"

namespace quillory {

namespace {

constexpr char kQuote = '"';

enum class FieldEnd { Comma, LineEnd, EndOfText };

struct CsvField {
    QByteArray raw;  // as it stands in the text, quotation marks included
    int line = 1;
    FieldEnd end = FieldEnd::EndOfText;
};

// A field that begins and ends with a quotation mark is closed unless its
// last mark is the second half of a doubled one: an odd run of marks before
// it. Fields made of marks only ("", """, ...) always count as closed.
bool IsClosed(QByteArrayView raw) {
    qsizetype run = 0;
    for (qsizetype i = raw.size() - 2; i >= 1 && raw[i] == kQuote; --i) ++run;
    return run % 2 == 0 || run == raw.size() - 2;
}

// A field that begins with a quotation mark and is not yet closed takes
// commas and line breaks as text.
bool IsOpenQuoted(QByteArrayView raw) {
    return raw.startsWith(kQuote) && !(raw.endsWith(kQuote) && IsClosed(raw));
}

// Strips the enclosing marks and undoubles the inner ones. Anything else,
// an unclosed field at the end of the text included, is kept as it stands.
QByteArray FieldValue(const QByteArray& raw) {
    if (!raw.startsWith(kQuote) || IsOpenQuoted(raw)) return raw;
    QByteArray inner = raw.size() >= 2 ? raw.sliced(1, raw.size() - 2) : QByteArray();
    return inner.replace("\"\"", "\"");
}

class CsvReader {
public:
    explicit CsvReader(QByteArrayView text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    CsvField ReadField() {
        CsvField field;
        field.line = line_;
        while (!AtEnd()) {
            const char c = Take();
            const bool lineBreak = c == '\r' || c == '\n';
            if ((c != ',' && !lineBreak) || IsOpenQuoted(field.raw)) {
                field.raw.append(c);
                continue;
            }
            if (c == '\r' && !AtEnd() && text_[pos_] == '\n') Take();
            field.end = lineBreak ? FieldEnd::LineEnd : FieldEnd::Comma;
            return field;
        }
        return field;
    }

private:
    // A CR LF pair counts as one line break, at its LF.
    char Take() {
        const char c = text_[pos_++];
        if (c == '\n' || (c == '\r' && (AtEnd() || text_[pos_] != '\n'))) ++line_;
        return c;
    }

    QByteArrayView text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

bool IsBlank(const CDataFileTable::Record& record) {
    return std::all_of(record.begin(), record.end(), [](const QByteArray& field) { return field.trimmed().isEmpty(); });
}

// Measured as the writer will write it: the leading non-blank records get
// trimmed first, the records after the first blank one go out as they stand.
qsizetype WrittenLength(const QByteArray& value, bool afterBlankRecord) {
    return afterBlankRecord ? value.size() : value.trimmed().size();
}

}  // namespace

CsvParseResult ParseCsvText(QByteArrayView text, CDataFileTable& table) {
    if (text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF")) return {CsvParseStatus::Utf16Text};
    if (text.contains('\0')) return {CsvParseStatus::ZeroByte};
    if (text.size() >= static_cast<qsizetype>(table.csvBuffer.size())) return {CsvParseStatus::TextTooLong};
    std::copy(text.begin(), text.end(), table.csvBuffer.begin());
    table.csvBuffer[text.size()] = '\0';

    CsvReader reader(QByteArrayView(table.csvBuffer.data(), text.size()));
    bool afterBlankRecord = false;
    for (int record = 0; record < CDataFileTable::kRecords && !reader.AtEnd(); ++record) {
        CDataFileTable::Record& fields = table.fields[record];
        // Columns past the eighth are still read field by field, so a quoted
        // line break in them does not end the record early.
        for (int column = 0;; ++column) {
            const CsvField field = reader.ReadField();
            if (column < CDataFileTable::kFieldsPerRecord) {
                QByteArray value = FieldValue(field.raw);
                if (WrittenLength(value, afterBlankRecord) > CDataFileTable::kFieldWidth) {
                    return {CsvParseStatus::FieldTooLong, field.line, column + 1};
                }
                fields[column] = std::move(value);
            }
            if (field.end != FieldEnd::Comma) break;
        }
        afterBlankRecord = afterBlankRecord || IsBlank(fields);
    }
    return {};
}

}  // namespace quillory
