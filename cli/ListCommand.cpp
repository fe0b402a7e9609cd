// qv7 list: the printer's files as the tree shows them.
#include <QJsonArray>
#include <QJsonObject>
#include <cstdio>

#include "PrinterSession.h"
#include "SlotListing.h"
#include "StringTable.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

using quillory::FileKind;

constexpr FileKind kKindsInTreeOrder[] = {FileKind::Data, FileKind::Label, FileKind::Symbol};

void PrintTree(const quillory::CPrinterService& service) {
    for (FileKind kind : kKindsInTreeOrder) {
        std::printf("%s\n", quillory::LoadString(quillory::KindInfo(kind).folderTextId).toLocal8Bit().constData());
        const int shown = quillory::ShownSlotCount(service, kind);
        for (int slot = 1; slot <= shown; ++slot) {
            const QString text = quillory::SlotItemText(service, kind, static_cast<uint8_t>(slot));
            std::printf("  %s\n", TerminalText(text).constData());
        }
    }
}

void FillJson(const quillory::CPrinterService& service, QJsonObject& root) {
    for (FileKind kind : kKindsInTreeOrder) {
        QJsonArray entries;
        const int shown = quillory::ShownSlotCount(service, kind);
        for (int slot = 1; slot <= shown; ++slot) {
            const uint8_t number = static_cast<uint8_t>(slot);
            const QString name = service.GetFileName(kind, number);
            const bool empty = service.IsSlotValid(kind, number) == 0 || name.isEmpty();
            QJsonObject entry;
            entry.insert("slot", slot);
            entry.insert("empty", empty);
            entry.insert("name", empty ? QJsonValue() : QJsonValue(name));
            entry.insert("file", empty ? QJsonValue()
                                       : QJsonValue(name + QLatin1String(quillory::KindInfo(kind).extension)));
            entry.insert("text", quillory::SlotItemText(service, kind, number));
            entries.append(entry);
        }
        root.insert(QLatin1String(quillory::KindInfo(kind).word), entries);
    }
}

}  // namespace

int RunList(Invocation& invocation) {
    PrinterSession session;
    if (!session.LoadCatalog()) return kExitFailed;
    if (invocation.json()) {
        FillJson(session.service, invocation.result);
    } else {
        PrintTree(session.service);
    }
    return kExitSuccess;
}

}  // namespace qv7cli
