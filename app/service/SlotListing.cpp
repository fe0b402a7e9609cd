#include "SlotListing.h"

#include "CPrinterService.h"
#include "SlotFilePath.h"
#include "StringTable.h"

namespace quillory {

int ShownSlotCount(const CPrinterService& service, FileKind kind) {
    switch (kind) {
    case FileKind::Data: return service.GetSlotCount(FileKind::Data);
    case FileKind::Label: return kShownLabelSlots;
    case FileKind::Symbol: return kShownSymbolSlots;
    }
    return 0;
}

QString SlotItemText(const CPrinterService& service, FileKind kind, uint8_t slot) {
    const QString number = QString::number(slot);
    const QString name = service.GetFileName(kind, slot);
    // A slot the printer reports without a name holds nothing: "(Slot 3)  .dat" would say nothing useful.
    if (!service.IsSlotValid(kind, slot) || name.isEmpty()) {
        return LoadString(IDS_SLOT_EMPTY).replace(QLatin1String("%d"), number);
    }
    // A name that turns text around or hides part of it must not do so in
    // the tree or the slot lists: it is shown by its code points.
    return LoadString(IDS_SLOT_WITH_FILE)
               .replace(QLatin1String("%d"), number)
               .replace(QLatin1String("%s"), VisibleName(name)) +
           QLatin1String(KindInfo(kind).extension);
}

}  // namespace quillory
