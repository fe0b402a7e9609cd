#include "CDataFileTable.h"

#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "PromptPort.h"
#include "qv7/Clock.h"

namespace quillory {

namespace {

const char kErrorOpeningNewFile[] = "Error opening new file.";
const char kErrorWritingDataFile[] = "Error writing new data file.";
const char kEnterDatabaseName[] = "Enter a name for database.";

// Where things sit in a data file.
constexpr int kRecordCountOffset = 13;
constexpr int kMarkerOffset = 14;
constexpr int kNameOffset = 15;
constexpr int kDateOffset = 24;
constexpr int kDateLength = 8;  // MM/DD/YY, then 4 zero bytes
constexpr int kFieldsOffset = 36;
constexpr int kFieldCountsOffset = kFieldsOffset + CDataFileTable::kRecords * CDataFileTable::kFieldsPerRecord *
                                                       CDataFileTable::kFieldWidth;
static_assert(kFieldCountsOffset == 26436 &&
              kFieldCountsOffset + CDataFileTable::kRecords == CDataFileTable::kFileSize);

// The printer checks this byte before it takes a file as a data file.
constexpr char kMarker = static_cast<char>(0xA5);

void Show(PromptPort& prompt, const char* text) {
    prompt.ShowMessage(QString::fromLatin1(text), MessageIcon::None, MessageButtons::Ok);
}

int FieldCountByte(const CDataFileTable::Record& record) {
    int count = 0;
    while (count < CDataFileTable::kFieldsPerRecord && !record[count].isEmpty()) ++count;
    // The byte never says 8: a record with every field set is stored as 7,
    // and files meant for the printer keep that.
    return std::min(count, CDataFileTable::kFieldsPerRecord - 1);
}

// The text in a slot of the given width: up to its first zero byte, or the
// whole width when it has none.
QByteArray Get(QByteArrayView image, int offset, int width) {
    const QByteArrayView slot = image.sliced(offset, width);
    const qsizetype end = slot.indexOf('\0');
    return (end < 0 ? slot : slot.first(end)).toByteArray();
}

// Copies at most width bytes; the zero bytes already in the image pad the rest.
void Put(QByteArray& image, int offset, const QByteArray& text, int width) {
    std::memcpy(image.data() + offset, text.constData(), std::min<std::size_t>(text.size(), width));
}

}  // namespace

CDataFileTable::CDataFileTable() {
    Reset();
}

void CDataFileTable::Reset() {
    for (Record& record : fields) record.fill(QByteArray());
    databaseName.clear();
    recordCount = 0;
    csvBuffer.fill('\0');
}

bool CDataFileTable::IsBlank(const Record& record) {
    return std::all_of(record.begin(), record.end(), [](const QByteArray& field) { return field.trimmed().isEmpty(); });
}

void CDataFileTable::CountRecords() {
    recordCount = 0;
    for (Record& record : fields) {
        // The first blank record is trimmed too, and ends the count.
        const bool blank = IsBlank(record);
        for (QByteArray& field : record) field = field.trimmed();
        if (blank) return;
        ++recordCount;
    }
}

bool CDataFileTable::WriteDataFile(const QString& path, PromptPort& prompt) {
    CountRecords();
    // The header holds 9 bytes and the name usually comes from a longer file
    // title, so a long name is cut rather than refused.
    databaseName = databaseName.trimmed().left(kNameWidth).trimmed();
    // Checked before the file is touched, so an empty name never leaves a
    // half-written file (or a replaced good one) behind.
    if (databaseName.isEmpty()) {
        Show(prompt, kEnterDatabaseName);
        return false;
    }

    const QByteArray image = FileImage(qv7::CurrentClock().TodayUtc());
    // Written beside the target and renamed over it only when complete, so a
    // failed write never damages a file the user already has.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Show(prompt, kErrorOpeningNewFile);
        return false;
    }
    if (file.write(image) != image.size() || !file.commit()) {
        Show(prompt, kErrorWritingDataFile);
        return false;
    }
    return true;
}

DataFileImageStatus CDataFileTable::ReadDataFileImage(QByteArrayView image) {
    Reset();
    if (image.size() != kFileSize) return DataFileImageStatus::WrongSize;
    if (image[kMarkerOffset] != kMarker) return DataFileImageStatus::NoMarker;
    databaseName = Get(image, kNameOffset, kNameWidth);
    int offset = kFieldsOffset;
    for (Record& record : fields) {
        for (QByteArray& field : record) {
            field = Get(image, offset, kFieldWidth);
            offset += kFieldWidth;
        }
    }
    return DataFileImageStatus::Read;
}

QByteArray CDataFileTable::FileImage(const qv7::UtcDate& today) const {
    QByteArray image(kFileSize, '\0');
    image[kRecordCountOffset] = static_cast<char>(recordCount);
    image[kMarkerOffset] = kMarker;
    Put(image, kNameOffset, databaseName, kNameWidth);

    char date[32];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", today.month, today.day, today.year % 100);
    Put(image, kDateOffset, QByteArray(date), kDateLength);

    // Every record is written, empty or not, whatever the record count says.
    int offset = kFieldsOffset;
    for (const Record& record : fields) {
        for (const QByteArray& field : record) {
            // The conversion refuses longer fields; cutting here only keeps
            // the layout fixed for any other caller.
            Put(image, offset, field, kFieldWidth);
            offset += kFieldWidth;
        }
    }
    for (int record = 0; record < kRecords; ++record) {
        image[kFieldCountsOffset + record] = static_cast<char>(FieldCountByte(fields[record]));
    }
    return image;
}

}  // namespace quillory
