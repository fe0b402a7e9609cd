#include "CSlotEntry.h"

#include <QFile>
#include <QStringDecoder>
#include <cstring>

#include "PromptPort.h"

namespace quillory {

const char kFirmwareUpgradeMessage[] =
    "You will need to upgrade your QV7E firmware to 2.0.3 or\n"
    "   newer for Quillory to successfully transfer files\n"
    "  to/from the printer. Contact Orvale Technical Support\n"
    "              at 1-555-013-2468 for assistance.";

const char kOldFirmwareSlotName[] = "Blank40";

const char kSlotChanged[] =
    "The slot now holds \"%1\" rather than \"%2\": the printer's files changed since they were listed. "
    "Nothing was saved.";

namespace {

bool IsTrailingWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The stored name as the printer gave it: up to its terminator, which a
// misbehaving printer may leave out.
QString StoredName(const QV7_FILE_ATTRIBUTES& attributes) {
    size_t length = strnlen(attributes.fileName, sizeof attributes.fileName);
    while (length > 0 && IsTrailingWhiteSpace(attributes.fileName[length - 1])) --length;
    // Printers store names as the PC sent them: UTF-8 from this side, Latin-1
    // from older tools. A name that is valid UTF-8 is taken as such.
    const QByteArrayView bytes(attributes.fileName, static_cast<qsizetype>(length));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : decoded;
}

}  // namespace

CSlotEntry::CSlotEntry(uint8_t typeIndex, QString typeName, uint8_t slot)
    : typeIndex(typeIndex), typeName(std::move(typeName)), slot(slot), fileName(), valid(0) {}

bool CSlotEntry::ReadName(CQV7_Sys_API& connection, PromptPort& prompt) {
    if (connection.IsError()) return false;
    QV7_FILE_ATTRIBUTES attributes{};
    connection.GetFileAttributes(typeIndex, static_cast<uint16_t>(slot - 1), &attributes);
    fileName = StoredName(attributes);
    if (fileName == QLatin1String(kOldFirmwareSlotName)) {
        prompt.ShowMessage(QString::fromLatin1(kFirmwareUpgradeMessage), MessageIcon::None, MessageButtons::Ok);
        valid = 0;
        return false;
    }
    valid = 1;
    return !connection.IsError();
}

bool CSlotEntry::ReceiveFile(const QString& path, QV7_PROGRESS_CALLBACK progress, QString* reason) {
    CQV7_Sys_API connection;
    // The file is named after the slot's name as the catalogue read it, on an
    // earlier connection; another program may have stored a new file since.
    // This connection holds the printer, so the name it reads now is the name
    // of the bytes that follow.
    QV7_FILE_ATTRIBUTES attributes{};
    if (!connection.IsError()) connection.GetFileAttributes(typeIndex, static_cast<uint16_t>(slot - 1), &attributes);
    if (!connection.IsError() && StoredName(attributes) != fileName) {
        if (reason) *reason = QString::fromLatin1(kSlotChanged).arg(StoredName(attributes), fileName);
        return false;
    }
    if (!connection.IsError()) {
        connection.GetFile(typeIndex, static_cast<uint8_t>(slot - 1), QFile::encodeName(path).toStdString(),
                           progress);
    }
    if (!connection.IsError()) return true;
    if (reason) *reason = QString::fromStdString(connection.GetError());
    return false;
}

bool CSlotEntry::SendFile(const QString& path, QV7_PROGRESS_CALLBACK progress, PromptPort& prompt, QString* reason) {
    CQV7_Sys_API connection;
    if (connection.IsError()) {
        if (reason) *reason = QString::fromStdString(connection.GetError());
        return false;
    }
    connection.GiveFile(typeIndex, static_cast<uint8_t>(slot - 1), QFile::encodeName(path).toStdString(), progress);
    if (!connection.IsError()) return true;
    prompt.ShowMessage(QString::fromStdString(connection.GetError()), MessageIcon::Information, MessageButtons::Ok);
    return false;
}

}  // namespace quillory
