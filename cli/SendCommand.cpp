// qv7 send: a PC file into a printer slot, replacing what the slot held.
#include <QFileInfo>
#include <cstdio>

#include "CBitmapPreviewSource.h"
#include "PrinterSession.h"
#include "StringTable.h"
#include "TerminalText.h"

namespace qv7cli {

int RunSend(Invocation& invocation) {
    const Arguments& args = invocation.operands;
    quillory::FileKind kind;
    uint8_t slot = 0;
    int exitCode = kExitUsage;
    if (!ParseKindAndSlot(args[0], args[1], &kind, &slot, &exitCode)) return exitCode;
    invocation.result.insert("kind", quillory::KindInfo(kind).word);
    invocation.result.insert("slot", slot);

    const QString path = QString::fromLocal8Bit(args[2].c_str());
    const QFileInfo source(path);
    invocation.result.insert("file", path);
    // Only a regular file (links followed) has an end: a named pipe or a
    // device would be read for ever.
    if (!source.isFile() || !source.isReadable()) {
        Failed(quillory::LoadString(quillory::IDS_SELECT_VALID_SOURCE).toLocal8Bit().toStdString() + ": " + args[2]);
        return NotUsable(path, "file");
    }

    PrinterSession session;
    if (kind == quillory::FileKind::Symbol) {
        // The rule the program's symbol browser applies, and with its message.
        quillory::CBitmapPreviewSource symbol(session.prompt);
        symbol.Load(path);
        if (!symbol.acceptable()) return kExitFailed;
    }
    if (!session.LoadCatalog()) return kExitFailed;
    if (!session.service.GetSlot(kind, slot)) return NoSuchSlot(session, kind, slot);

    const bool ok = session.service.Transfer(kind, quillory::TransferDirection::Send, slot, path, nullptr);
    if (!ok && !session.service.TransferError().isEmpty()) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(session.service.TransferError()).constData());
    }
    quillory::ShowTransferResult(session.prompt, kind, quillory::TransferDirection::Send, ok);
    return ok ? kExitSuccess : kExitFailed;
}

}  // namespace qv7cli
