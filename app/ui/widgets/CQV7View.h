// The tree of the printer's files that fills the main frame: a root, one
// folder per file kind, one item per slot. Rebuilt from the catalogue by
// Refresh; each folder's expanded state is kept in the settings.
#ifndef QUILLORY_CQV7VIEW_H
#define QUILLORY_CQV7VIEW_H

#include <QTreeWidget>

#include <functional>

#include "FileKind.h"

class QMenu;
class QMimeData;

namespace quillory {

class CDibImage;
class CPrinterService;
class CSlotEntry;
class CSystemImageList;
class FileChoicePort;
class SettingsStore;
class SymbolPreviewOverlay;

class CQV7View : public QTreeWidget {
    Q_OBJECT
public:
    CQV7View(CPrinterService& service, SettingsStore& settings, CSystemImageList& imageList, QWidget* parent);

    QTreeWidgetItem* rootItem() const { return rootItem_; }
    // Why the last Refresh could not read the printer; empty when it could.
    const QString& printerProblem() const { return printerProblem_; }
    QTreeWidgetItem* folderItem(FileKind kind) const;

    // The kind and slot number a slot item stands for; false for the root
    // and folder items.
    static bool SlotOf(const QTreeWidgetItem* item, FileKind* kind, uint8_t* slot);
    // The catalogue entry a slot item stands for, looked up now; null for an
    // empty slot and for the root and folder items.
    CSlotEntry* SlotEntryOf(const QTreeWidgetItem* item) const;

    // How a slot's pop-up menu is shown at a point of the screen. By default
    // it pops up and returns at once: its command then runs from the
    // program's own event loop, never from inside the click that opened it.
    using MenuPresenter = std::function<void(QMenu* menu, const QPoint& globalPos)>;
    void SetMenuPresenter(MenuPresenter presenter) { menuPresenter_ = std::move(presenter); }
    // The pop-up menu the program offers for the slots of a kind; the view
    // does not own it.
    void SetSlotMenu(FileKind kind, QMenu* menu);

    // Runs the send command of a kind for a dropped file; true when the file
    // reached the printer.
    using DroppedFileSender = std::function<bool(FileKind kind, const QString& path)>;
    void SetDroppedFileSender(DroppedFileSender sender) { droppedFileSender_ = std::move(sender); }

    // Asks the desktop to open a document of the installation; a document
    // that is not there, or that nothing opens, is reported by cannotOpen.
    void OpenDocument(const QString& path);

signals:
    void cannotOpen(const QString& message);

public slots:
    // Reads a fresh catalogue from the printer. A Refresh while a transfer
    // runs does nothing: it must not reach the printer. When the printer
    // cannot be read, an empty tree says why and what to try, and a tree
    // read earlier is marked as not refreshed.
    void Refresh();
    // Makes the items anew from the catalogue: runs whenever it changes,
    // whoever rebuilt it.
    void RebuildItems();

    void OnHelpReadMe();
    void OnHelpRegister();
    void OnHelpOperatorsManual();
    void OnHelpQuickReference();
    void OnHelpWebsite();

public:
    // The symbol preview beside the tree, drawn from the preview cache file
    // (SymbolPreviewCacheFile) over the tree; the tree's clicks decide when.
    // Each reads the cache afresh and draws nothing when it cannot be read.
    //
    // The preview goes whenever the rows move under it: on a scroll and on
    // any item's expanding or collapsing.
    //
    // Takes the last preview away and forgets which item the cache holds.
    void ErasePreview();
    // Draws the cached symbol again where it was, once.
    void RedrawPreview();
    // Takes the last preview away; with a freshly fetched symbol, draws it at
    // three quarters of its size at x 250 and the given y, moved as far left
    // and up or down as it takes to lie inside the viewport.
    void ShowPreviewAt(int y, bool fetched);
    // "Save symbol file to PC...": the cached symbol to a file the user picks.
    void OnSaveSymbolFile(FileChoicePort& files);

    // Where the preview shows, in the viewport; empty when none does.
    QRect previewArea() const;
    int previewX() const { return previewX_; }
    int previewY() const { return previewY_; }
    // The text of the item whose symbol the cache holds; empty for none.
    const QString& previewedItemText() const { return previewedItemText_; }
    void SetPreviewedItemText(const QString& text) { previewedItemText_ = text; }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // A slot by value: items are made anew whenever the catalogue changes,
    // so nothing that can outlive a rebuild holds an item.
    struct SlotRef {
        FileKind kind = FileKind::Data;
        uint8_t slot = 0;  // 0: none
    };

    bool LoadPreviewCache(CDibImage* image) const;

    void InsertFolder(FileKind kind);
    void ShowPrinterProblem();
    // The column as wide as the items (true), or as the tree with the lines wrapped.
    void FitColumnToItems(bool fit);
    void OnItemExpanded(QTreeWidgetItem* item, bool expanded);
    void OnClickItem(const QPoint& click);
    void OnClickSymbolSlot(const QTreeWidgetItem* item, uint8_t slot, const QPoint& click);
    void ShowSlotMenu(FileKind kind, const QPoint& click);
    QTreeWidgetItem* SlotItem(SlotRef ref) const;
    void SelectOnly(QTreeWidgetItem* item);

    // Whether the dragged data may be dropped here; and the slot a single
    // file would go to, if any.
    bool AcceptsDrag(const QMimeData* data, const QPoint& pos, SlotRef* target) const;
    void SetDropHighlight(SlotRef ref);
    void SendDroppedFiles(const QStringList& paths, SlotRef target);

    CPrinterService& service_;
    SettingsStore& settings_;
    CSystemImageList& imageList_;
    int appIconIndex_;
    QTreeWidgetItem* rootItem_ = nullptr;
    QString printerProblem_;
    QTreeWidgetItem* dataFolderItem_ = nullptr;
    QTreeWidgetItem* labelFolderItem_ = nullptr;
    QTreeWidgetItem* symbolFolderItem_ = nullptr;
    int previewX_ = 0;
    int previewY_ = 0;
    QString previewedItemText_;
    SymbolPreviewOverlay* previewOverlay_;
    MenuPresenter menuPresenter_;
    QMenu* slotMenus_[3] = {nullptr, nullptr, nullptr};
    DroppedFileSender droppedFileSender_;
    SlotRef dropHighlight_;
};

}  // namespace quillory

#endif
