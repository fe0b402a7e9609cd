// qv7 get: a slot's file into a folder on the PC, named as the printer names it.
#include <QFileInfo>
#include <unistd.h>

#include "PrinterSession.h"
#include "SlotFilePath.h"
#include "StringTable.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

using quillory::FileKind;

std::string Local(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

}  // namespace

int RunGet(Invocation& invocation) {
    const Arguments& operands = invocation.operands;
    FileKind kind;
    uint8_t slot = 0;
    int exitCode = kExitUsage;
    if (!ParseKindAndSlot(operands[0], operands[1], &kind, &slot, &exitCode)) return exitCode;
    invocation.result.insert("kind", quillory::KindInfo(kind).word);
    invocation.result.insert("slot", slot);
    invocation.result.insert("path", QJsonValue());

    const QString folder = operands.size() == 3 ? QString::fromLocal8Bit(operands[2].c_str()) : QStringLiteral(".");
    if (!QFileInfo(folder).isDir() || !QFileInfo(folder).isWritable()) {
        Failed(Local(quillory::LoadString(quillory::IDS_SELECT_VALID_FOLDER)));
        return NotUsable(folder, "folder");
    }

    PrinterSession session;
    if (!session.LoadCatalog()) return kExitFailed;

    const char* kindWord = quillory::KindInfo(kind).word;
    const quillory::CSlotEntry* entry = session.service.GetSlot(kind, slot);
    if (!entry || !entry->valid) return NoSuchSlot(session, kind, slot);
    if (entry->fileName.isEmpty()) {
        return Failed(std::string(kindWord) + " slot " + std::to_string(slot) + " is empty");
    }

    QString path;
    if (!quillory::BuildSlotFilePath(folder, entry->fileName, kind, &path)) {
        return Failed(Local(quillory::UnusableStoredNameMessage(entry->fileName)));
    }

    if (QFileInfo::exists(path) && !invocation.yes()) {
        if (isatty(STDIN_FILENO) != 1) {
            return Failed(Local(path) + " already exists; use --yes to replace it");
        }
        const QString question = path + quillory::LoadString(quillory::IDS_ALREADY_EXISTS);
        if (session.prompt.ShowMessage(question, quillory::MessageIcon::Exclamation, quillory::MessageButtons::YesNo) !=
            quillory::MessageAnswer::Yes) {
            return Failed("nothing was written");
        }
    }

    const bool ok = session.service.Transfer(kind, quillory::TransferDirection::Receive, slot, path, nullptr);
    // The program's message names no reason; the library's words say what went wrong.
    if (!ok && !session.service.TransferError().isEmpty()) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(session.service.TransferError()).constData());
    }
    quillory::ShowTransferResult(session.prompt, kind, quillory::TransferDirection::Receive, ok);
    if (ok && invocation.json()) {
        invocation.result.insert("path", path);
    } else if (ok) {
        std::printf("%s\n", TerminalText(path).constData());
    }
    return ok ? kExitSuccess : kExitFailed;
}

}  // namespace qv7cli
