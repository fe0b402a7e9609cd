// The tree of the printer's files that fills the main frame: a root, one
// folder per file kind, one item per slot. Rebuilt from the catalogue by
// Refresh; each folder's expanded state is kept in the settings.
#ifndef QUILLORY_CQV7VIEW_H
#define QUILLORY_CQV7VIEW_H

#include <QTreeWidget>

#include "FileKind.h"

namespace quillory {

class CPrinterService;
class CSlotEntry;
class CSystemImageList;
class SettingsStore;

class CQV7View : public QTreeWidget {
    Q_OBJECT
public:
    CQV7View(CPrinterService& service, SettingsStore& settings, CSystemImageList& imageList, QWidget* parent);

    QTreeWidgetItem* rootItem() const { return rootItem_; }
    QTreeWidgetItem* folderItem(FileKind kind) const;

    // The catalogue entry a slot item stands for; null for an empty slot and
    // for the root and folder items.
    static CSlotEntry* SlotEntryOf(const QTreeWidgetItem* item);

public slots:
    // Rebuilds the tree from a fresh catalogue. A rebuild that fails leaves
    // the tree as it was; so does a Refresh while a transfer runs, which must
    // not reach the printer.
    void Refresh();

    void OnHelpReadMe();
    void OnHelpRegister();
    void OnHelpOperatorsManual();
    void OnHelpQuickReference();
    void OnHelpWebsite();

private:
    void InsertFolder(FileKind kind);
    void OnItemExpanded(QTreeWidgetItem* item, bool expanded);

    CPrinterService& service_;
    SettingsStore& settings_;
    CSystemImageList& imageList_;
    int appIconIndex_;
    QTreeWidgetItem* rootItem_ = nullptr;
    QTreeWidgetItem* dataFolderItem_ = nullptr;
    QTreeWidgetItem* labelFolderItem_ = nullptr;
    QTreeWidgetItem* symbolFolderItem_ = nullptr;
};

}  // namespace quillory

#endif
