#include "SlotChoiceList.h"

#include <QComboBox>

#include "CQV7View.h"
#include "SlotDialogForms.h"
#include "StringTable.h"

namespace quillory {

void FillSlotList(QComboBox& list, const CQV7View& tree, FileKind kind) {
    list.clear();
    const QTreeWidgetItem* root = tree.rootItem();
    const QString folderText = LoadString(KindInfo(kind).folderTextId);
    for (int f = 0; root && f < root->childCount(); ++f) {
        const QTreeWidgetItem* folder = root->child(f);
        if (folder->text(0) != folderText) continue;
        for (int s = 0; s < folder->childCount(); ++s) {
            const QTreeWidgetItem* item = folder->child(s);
            FileKind itemKind;
            uint8_t slot;
            if (tree.SlotEntryOf(item) && CQV7View::SlotOf(item, &itemKind, &slot)) {
                list.addItem(item->text(0), static_cast<unsigned>(slot));
            }
        }
    }

    const QList<QTreeWidgetItem*> selected = tree.selectedItems();
    list.setCurrentIndex(selected.isEmpty() ? -1 : list.findText(selected.constFirst()->text(0), Qt::MatchExactly));
}

uint8_t SelectedSlot(const QComboBox& list) {
    return list.currentIndex() < 0 ? kNoSlot : static_cast<uint8_t>(list.currentData().toUInt());
}

}  // namespace quillory
