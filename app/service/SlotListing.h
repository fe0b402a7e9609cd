// How the printer's slots are listed to the user, the same in the tree and in
// qv7: which slot numbers each kind shows and the text of each slot.
#ifndef QUILLORY_SLOT_LISTING_H
#define QUILLORY_SLOT_LISTING_H

#include <QString>
#include <cstdint>

#include "FileKind.h"

namespace quillory {

class CPrinterService;

// Label and symbol folders always list this many slots, whatever the printer reports.
constexpr int kShownLabelSlots = 30;
constexpr int kShownSymbolSlots = 10;

// Slots 1 to this number are listed for the kind.
int ShownSlotCount(const CPrinterService& service, FileKind kind);

// "(Slot 3)  STOCK.dat", or "(Slot 3)  <empty slot>" for a slot without a
// file (no entry, or an entry whose stored name is empty).
QString SlotItemText(const CPrinterService& service, FileKind kind, uint8_t slot);

}  // namespace quillory

#endif
