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

    // The kind and slot number a slot item stands for; false for the root
    // and folder items.
    static bool SlotOf(const QTreeWidgetItem* item, FileKind* kind, uint8_t* slot);
    // The catalogue entry a slot item stands for, looked up now; null for an
    // empty slot and for the root and folder items.
    CSlotEntry* SlotEntryOf(const QTreeWidgetItem* item) const;

    // Asks the desktop to open a document of the installation; a document
    // that is not there, or that nothing opens, is reported by cannotOpen.
    void OpenDocument(const QString& path);

signals:
    void cannotOpen(const QString& message);

public slots:
    // Reads a fresh catalogue from the printer. A rebuild that fails leaves
    // the tree as it was; so does a Refresh while a transfer runs, which must
    // not reach the printer.
    void Refresh();
    // Makes the items anew from the catalogue: runs whenever it changes,
    // whoever rebuilt it.
    void RebuildItems();

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
