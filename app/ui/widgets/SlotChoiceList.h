// The slot drop-down of the send and get dialogs, filled from the tree of
// printer files.
#ifndef QUILLORY_SLOT_CHOICE_LIST_H
#define QUILLORY_SLOT_CHOICE_LIST_H

#include <cstdint>

#include "FileKind.h"

class QComboBox;

namespace quillory {

class CQV7View;

// Lists the tree's slot items of the kind's folder that stand for a catalogue
// entry, in tree order, with the items' texts; selects the one whose text is
// the tree's selected item's, or none.
void FillSlotList(QComboBox& list, const CQV7View& tree, FileKind kind);

// The slot number of the selected list item; kNoSlot when none is selected.
uint8_t SelectedSlot(const QComboBox& list);

}  // namespace quillory

#endif
