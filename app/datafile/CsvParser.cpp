#include "CsvParser.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <vector>

#include "CDataFileTable.h"
#include "Windows1252.h"

namespace quillory {

namespace {

constexpr char kQuote = '"';
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
// Stands in the text for a character the code page lacks; refused only if a
// field that is kept holds it.
constexpr char kUnmappedStandIn = '?';

enum class FieldEnd { Comma, LineEnd, EndOfText };

struct CsvField {
    QByteArray raw;  // as it stands in the text, quotation marks included
    qsizetype start = 0;  // where raw starts in the text
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
        field.start = pos_;
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

struct Unmapped {
    qsizetype position;
    char32_t character;
};

// The text in the data file's code page, one byte per character.
struct EightBitText {
    QByteArray bytes;
    std::vector<Unmapped> unmapped;  // in the order of their positions
};

// False for a text that says it is UTF-8 and is not: read byte for byte, its
// UTF-8 would become wrong characters without a word.
bool ToEightBit(QByteArrayView file, EightBitText* text) {
    const bool marked = file.startsWith(kUtf8Mark);
    if (marked) file = file.sliced(sizeof kUtf8Mark - 1);
    if (!file.isValidUtf8()) {
        text->bytes = file.toByteArray();
        return !marked;
    }
    for (const char32_t character : QString::fromUtf8(file).toUcs4()) {
        char byte;
        if (!Windows1252Byte(character, &byte)) {
            text->unmapped.push_back({text->bytes.size(), character});
            byte = kUnmappedStandIn;
        }
        text->bytes.append(byte);
    }
    return true;
}

// The first character the code page lacks in the field's stretch of text; 0 for none.
char32_t FirstUnmapped(const std::vector<Unmapped>& unmapped, const CsvField& field) {
    const auto found = std::lower_bound(unmapped.begin(), unmapped.end(), field.start,
                                        [](const Unmapped& u, qsizetype start) { return u.position < start; });
    const bool inField = found != unmapped.end() && found->position < field.start + field.raw.size();
    return inField ? found->character : 0;
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
    // Not read whole by the conversion, and too long in any reading.
    if (text.size() > kMaxCsvFileBytes) return {CsvParseStatus::TextTooLong};
    EightBitText eightBit;
    if (!ToEightBit(text, &eightBit)) return {CsvParseStatus::BrokenUtf8};
    const QByteArray& bytes = eightBit.bytes;
    if (bytes.size() >= static_cast<qsizetype>(table.csvBuffer.size())) {
        CsvParseResult tooLong{CsvParseStatus::TextTooLong};
        tooLong.length = bytes.size();
        return tooLong;
    }
    std::copy(bytes.begin(), bytes.end(), table.csvBuffer.begin());
    table.csvBuffer[bytes.size()] = '\0';

    CsvReader reader(QByteArrayView(table.csvBuffer.data(), bytes.size()));
    bool afterBlankRecord = false;
    for (int record = 0; record < CDataFileTable::kRecords && !reader.AtEnd(); ++record) {
        CDataFileTable::Record& fields = table.fields[record];
        // Columns past the eighth are still read field by field, so a quoted
        // line break in them does not end the record early.
        for (int column = 0;; ++column) {
            const CsvField field = reader.ReadField();
            if (column < CDataFileTable::kFieldsPerRecord) {
                if (const char32_t unmapped = FirstUnmapped(eightBit.unmapped, field)) {
                    return {CsvParseStatus::UnmappedCharacter, field.line, column + 1, unmapped};
                }
                QByteArray value = FieldValue(field.raw);
                if (WrittenLength(value, afterBlankRecord) > CDataFileTable::kFieldWidth) {
                    return {CsvParseStatus::FieldTooLong, field.line, column + 1};
                }
                fields[column] = std::move(value);
            }
            if (field.end != FieldEnd::Comma) break;
        }
        afterBlankRecord = afterBlankRecord || CDataFileTable::IsBlank(fields);
    }
    // Written, it would be a data file of no records, which nobody asked for.
    if (std::all_of(table.fields.begin(), table.fields.end(), CDataFileTable::IsBlank)) return {CsvParseStatus::Empty};
    return {};
}

}  // namespace quillory
