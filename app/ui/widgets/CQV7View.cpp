#include "CQV7View.h"

#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#include "AppIcons.h"
#include "CDibImage.h"
#include "CPrinterService.h"
#include "CSystemImageList.h"
#include "FileChoicePort.h"
#include "PlatformPaths.h"
#include "PromptPort.h"
#include "SettingsStore.h"
#include "SlotListing.h"
#include "StringTable.h"
#include "SymbolFiles.h"
#include "SymbolPreviewOverlay.h"

namespace quillory {

namespace {

const char kRootText[] = "Orvale QV7 Tandor";
const char kOperatorsManual[] = "QV7E Operators Manual.pdf";
const char kQuickReferenceCard[] = "QV7 Quick Reference Card.pdf";
const char kRegistrationPage[] = "https://www.orvale.example/register";
const char kWebSite[] = "https://www.orvale.example/";
const char kSaveAsTitle[] = "Save As";
const char kSymbolFilter[] = "Bitmap Files (*.bmp)|*.bmp|";
const char kSymbolExtension[] = "bmp";
const char kSaveSymbolFailed[] = "Error saving symbol file!";

constexpr int kPreviewLeft = 250;
// The proposed name is the end of a symbol item's text, "Btmap03.bmp".
constexpr int kProposedNameLength = 11;

// The preview is drawn at three quarters of the symbol's size, where it is
// meant to be as far as it fits the viewport, else moved left and up until
// it does: never under the scroll bar, never above or below the rows in
// view. One larger than the viewport starts at its corner and is cut.
QRect PreviewArea(int x, int y, const CDibImage& image, const QRect& viewport) {
    QRect area(x, y, image.width() * 3 / 4, image.height() * 3 / 4);
    area.moveLeft(std::max(viewport.left(), std::min(area.left(), viewport.right() + 1 - area.width())));
    area.moveTop(std::max(viewport.top(), std::min(area.top(), viewport.bottom() + 1 - area.height())));
    return area;
}

// A slot item keeps its kind and number, never a pointer into the catalogue,
// which every rebuild replaces.
constexpr int kKindRole = Qt::UserRole;

const char kNoPrinter[] = "No printer found: ";
const char kNotRefreshed[] = " (not refreshed: ";
const char* const kNoPrinterHints[] = {
    "Plug the printer in, switch it on and choose Files / Printing.",
    "On Linux the USB access rule must be installed: qv7 doctor tells what is wrong.",
    "Without a printer, start Quillory with --device virtual:DIR.",
    "Then press F5.",
};
constexpr int kSlotRole = Qt::UserRole + 1;

const char* ExpandedSetting(FileKind kind) {
    switch (kind) {
    case FileKind::Data: return setting::kDataFolderExpanded;
    case FileKind::Label: return setting::kLabelFolderExpanded;
    case FileKind::Symbol: return setting::kSymbolFolderExpanded;
    }
    return setting::kDataFolderExpanded;
}

// A symbol's item names it "Btmap" and its number; the number also sets how
// far above the click its preview is drawn.
const char kNamedSymbol[] = "Btmap";
constexpr int kPreviewRise = 17;
const char kDataExtension[] = ".dat";
const char kLabelExtension[] = ".qv7";

int SymbolNumberInText(const QString& text) {
    static const char* const numbers[] = {"01", "02", "03", "04", "05", "06", "07", "8", "9", "10"};
    for (int i = 0; i < 10; ++i) {
        if (text.contains(QLatin1String(numbers[i]))) return i + 1;
    }
    return 1;
}

// The kind a dropped file is sent as, by the exact ending of its path; false
// for any other file.
bool DroppedKind(const QString& path, FileKind* kind) {
    if (path.endsWith(QLatin1String(kDataExtension))) {
        *kind = FileKind::Data;
    } else if (path.endsWith(QLatin1String(kLabelExtension))) {
        *kind = FileKind::Label;
    } else {
        return false;
    }
    return true;
}

QStringList DraggedPaths(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls()) paths << url.toLocalFile();
    return paths;
}

// Measures a row whose text wraps at the width its column leaves it; the
// tree itself measures every row as one unwrapped line.
class WrappedRowDelegate : public QStyledItemDelegate {
public:
    explicit WrappedRowDelegate(QTreeView* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!tree_->wordWrap()) return QStyledItemDelegate::sizeHint(option, index);
        int depth = tree_->rootIsDecorated() ? 1 : 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) ++depth;
        QStyleOptionViewItem row(option);
        row.rect = QRect(0, 0, std::max(1, tree_->columnWidth(index.column()) - depth * tree_->indentation()),
                         std::max(1, option.rect.height()));
        return QStyledItemDelegate::sizeHint(row, index);
    }

private:
    QTreeView* tree_;
};

const char kDocumentMissing[] = "Cannot open %1: the file is not there.";
const char kDocumentUnopened[] = "Cannot open %1: no program on this computer opens it.";

}  // namespace

CQV7View::CQV7View(CPrinterService& service, SettingsStore& settings, CSystemImageList& imageList, QWidget* parent)
    : QTreeWidget(parent),
      service_(service),
      settings_(settings),
      imageList_(imageList),
      appIconIndex_(imageList.Append(ApplicationIcon())),
      previewOverlay_(new SymbolPreviewOverlay(viewport())) {
    setHeaderHidden(true);
    setColumnCount(1);
    header()->setStretchLastSection(false);
    FitColumnToItems(true);
    setItemDelegate(new WrappedRowDelegate(this));
    setRootIsDecorated(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Files dragged from the desktop; the items themselves are not dragged.
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    menuPresenter_ = [](QMenu* menu, const QPoint& globalPos) { menu->popup(globalPos); };

    // Drawn beside a row, the preview must not stay once the rows move.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CQV7View::ErasePreview);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &CQV7View::ErasePreview);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { OnItemExpanded(item, true); });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { OnItemExpanded(item, false); });
    connect(&service_, &CPrinterService::catalogChanged, this, &CQV7View::RebuildItems);
}

QTreeWidgetItem* CQV7View::folderItem(FileKind kind) const {
    switch (kind) {
    case FileKind::Data: return dataFolderItem_;
    case FileKind::Label: return labelFolderItem_;
    case FileKind::Symbol: return symbolFolderItem_;
    }
    return nullptr;
}

bool CQV7View::SlotOf(const QTreeWidgetItem* item, FileKind* kind, uint8_t* slot) {
    if (!item || !item->data(0, kSlotRole).isValid()) return false;
    *kind = static_cast<FileKind>(item->data(0, kKindRole).toInt());
    *slot = static_cast<uint8_t>(item->data(0, kSlotRole).toUInt());
    return true;
}

CSlotEntry* CQV7View::SlotEntryOf(const QTreeWidgetItem* item) const {
    FileKind kind;
    uint8_t slot;
    if (!SlotOf(item, &kind, &slot) || !service_.IsSlotValid(kind, slot)) return nullptr;
    return service_.GetSlot(kind, slot);
}

void CQV7View::Refresh() {
    if (service_.IsTransferInProgress()) return;
    if (service_.RebuildCatalog()) {
        printerProblem_.clear();
        return;
    }
    // An old firmware has been told in its own message; nothing to add.
    printerProblem_ = service_.CatalogError();
    if (!printerProblem_.isEmpty()) ShowPrinterProblem();
}

void CQV7View::ShowPrinterProblem() {
    if (rootItem_) {
        // The files shown are the printer's as they were: say so, and grey
        // them, rather than pass them off as what the printer holds now.
        rootItem_->setText(0, QLatin1String(kRootText) + QLatin1String(kNotRefreshed) + printerProblem_ +
                             QLatin1Char(')'));
        rootItem_->setDisabled(true);
        return;
    }
    clear();
    FitColumnToItems(false);
    auto* line = new QTreeWidgetItem(this, QStringList(QLatin1String(kNoPrinter) + printerProblem_));
    line->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    for (const char* hint : kNoPrinterHints) new QTreeWidgetItem(line, QStringList(QLatin1String(hint)));
    line->setExpanded(true);
}

void CQV7View::FitColumnToItems(bool fit) {
    // The printer's items: the column is as wide as they are, so a selected
    // item is highlighted under its text only and the symbol preview beside
    // the items never cuts through a highlighted row. What to try without a
    // printer: the column is as wide as the tree and the lines wrap, so
    // each reads whole in the narrowest window.
    header()->setSectionResizeMode(0, fit ? QHeaderView::ResizeToContents : QHeaderView::Stretch);
    setWordWrap(!fit);
}

void CQV7View::RebuildItems() {
    clear();
    FitColumnToItems(true);
    rootItem_ = new QTreeWidgetItem(this, QStringList(QLatin1String(kRootText)));
    rootItem_->setIcon(0, imageList_.Icon(appIconIndex_));
    for (FileKind kind : {FileKind::Data, FileKind::Label, FileKind::Symbol}) InsertFolder(kind);

    rootItem_->setExpanded(true);
    for (FileKind kind : {FileKind::Data, FileKind::Label, FileKind::Symbol}) {
        QTreeWidgetItem* folder = folderItem(kind);
        const int current = folder->isExpanded() ? kFolderExpanded : kFolderCollapsed;
        if (settings_.GetProfileInt(ExpandedSetting(kind), current) == kFolderExpanded) folder->setExpanded(true);
    }
    scrollToItem(rootItem_);
    // The next symbol click reads the printer afresh.
    previewedItemText_.clear();
    dropHighlight_ = SlotRef();
}

void CQV7View::InsertFolder(FileKind kind) {
    auto* folder = new QTreeWidgetItem(rootItem_, QStringList(LoadString(KindInfo(kind).folderTextId)));
    folder->setIcon(0, imageList_.Icon(imageList_.ClosedFolderIndex()));
    switch (kind) {
    case FileKind::Data: dataFolderItem_ = folder; break;
    case FileKind::Label: labelFolderItem_ = folder; break;
    case FileKind::Symbol: symbolFolderItem_ = folder; break;
    }

    const QIcon fileIcon = imageList_.Icon(imageList_.FileIndex());
    const int count = ShownSlotCount(service_, kind);
    for (int number = 1; number <= count; ++number) {
        const auto slot = static_cast<uint8_t>(number);
        auto* item = new QTreeWidgetItem(folder, QStringList(SlotItemText(service_, kind, slot)));
        item->setIcon(0, fileIcon);
        item->setData(0, kKindRole, static_cast<int>(kind));
        item->setData(0, kSlotRole, static_cast<unsigned>(slot));
    }
}

void CQV7View::OnItemExpanded(QTreeWidgetItem* item, bool expanded) {
    // The rows below the item move, and the preview drawn beside one of them
    // would be left beside whatever takes its place.
    ErasePreview();
    if (item == rootItem_) return;
    item->setIcon(0, imageList_.Icon(expanded ? imageList_.OpenFolderIndex() : imageList_.ClosedFolderIndex()));
    for (FileKind kind : {FileKind::Data, FileKind::Label, FileKind::Symbol}) {
        if (item != folderItem(kind)) continue;
        settings_.WriteProfileInt(ExpandedSetting(kind), expanded ? kFolderExpanded : kFolderCollapsed);
    }
}

void CQV7View::SetSlotMenu(FileKind kind, QMenu* menu) {
    slotMenus_[static_cast<int>(kind)] = menu;
}

QTreeWidgetItem* CQV7View::SlotItem(SlotRef ref) const {
    QTreeWidgetItem* folder = folderItem(ref.kind);
    if (ref.slot == 0 || !folder || ref.slot > folder->childCount()) return nullptr;
    return folder->child(ref.slot - 1);
}

void CQV7View::SelectOnly(QTreeWidgetItem* item) {
    if (item) {
        setCurrentItem(item);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
}

void CQV7View::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    // Left and right clicks do the same.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        OnClickItem(event->position().toPoint());
    }
}

void CQV7View::OnClickItem(const QPoint& click) {
    QTreeWidgetItem* item = itemAt(click);
    SelectOnly(item);
    FileKind kind;
    uint8_t slot;
    if (!SlotOf(item, &kind, &slot)) {
        if (click.y() > previewY_ && previewX_ > 100) RedrawPreview();
        return;
    }
    // A click while a transfer runs comes from inside its event pump: a
    // fetch would be refused, and a menu's command would open its dialog
    // there and hold the transfer until answered.
    if (service_.IsTransferInProgress()) return;
    if (kind == FileKind::Symbol) {
        OnClickSymbolSlot(item, slot, click);
        return;
    }
    ErasePreview();
    ShowSlotMenu(kind, click);
}

void CQV7View::OnClickSymbolSlot(const QTreeWidgetItem* item, uint8_t slot, const QPoint& click) {
    // The fetch pumps events; from here on the item is known by its text.
    const QString text = item->text(0);
    item = nullptr;
    bool named = false;
    bool fetched = false;
    int number = 1;
    if (text.contains(QLatin1String(kNamedSymbol))) {
        named = true;
        number = SymbolNumberInText(text);
        if (text != previewedItemText_) {
            ErasePreview();
            // The clicked slot's own symbol: a name's digits may belong to
            // another slot, and the cache must hold what the item shows.
            fetched = service_.ReceiveSymbol(slot, SymbolPreviewCacheFile(), this);
            previewedItemText_ = fetched ? text : QString();
        }
    } else {
        previewedItemText_.clear();
        ErasePreview();
    }
    ShowPreviewAt(click.y() - kPreviewRise * number, named && fetched);

    const QTreeWidgetItem* selected = currentItem();
    if (selected && !previewedItemText_.isEmpty() && selected->text(0) == previewedItemText_) {
        ShowSlotMenu(FileKind::Symbol, click);
    }
}

void CQV7View::ShowSlotMenu(FileKind kind, const QPoint& click) {
    QMenu* menu = slotMenus_[static_cast<int>(kind)];
    if (menu && menuPresenter_) menuPresenter_(menu, viewport()->mapToGlobal(click));
}

bool CQV7View::AcceptsDrag(const QMimeData* data, const QPoint& pos, SlotRef* target) const {
    *target = SlotRef();
    // Nothing may start from inside a running transfer's event pump.
    if (service_.IsTransferInProgress()) return false;
    if (!data->hasUrls()) return true;
    const QStringList paths = DraggedPaths(data);
    FileKind kind;
    for (const QString& path : paths) {
        if (!DroppedKind(path, &kind)) return false;
    }
    FileKind slotKind;
    uint8_t slot;
    if (paths.size() == 1 && SlotOf(itemAt(pos), &slotKind, &slot) && slotKind == kind) *target = {kind, slot};
    return true;
}

void CQV7View::SetDropHighlight(SlotRef ref) {
    if (QTreeWidgetItem* old = SlotItem(dropHighlight_)) {
        old->setData(0, Qt::BackgroundRole, QVariant());
        old->setData(0, Qt::ForegroundRole, QVariant());
    }
    dropHighlight_ = ref;
    if (QTreeWidgetItem* item = SlotItem(ref)) {
        item->setBackground(0, palette().highlight());
        item->setForeground(0, palette().highlightedText());
    }
}

void CQV7View::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void CQV7View::dragMoveEvent(QDragMoveEvent* event) {
    SlotRef target;
    if (!AcceptsDrag(event->mimeData(), event->position().toPoint(), &target)) {
        event->ignore();
        return;
    }
    // Elsewhere the highlight stays where it was, as the cursor left it.
    if (target.slot != 0) SetDropHighlight(target);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CQV7View::dragLeaveEvent(QDragLeaveEvent* event) {
    SetDropHighlight(SlotRef());
    event->accept();
}

void CQV7View::dropEvent(QDropEvent* event) {
    SlotRef target;
    const bool accepted = AcceptsDrag(event->mimeData(), event->position().toPoint(), &target);
    SetDropHighlight(SlotRef());
    if (!accepted) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (!event->mimeData()->hasUrls()) return;
    // The send dialogs open once the drop is over: opened from inside it,
    // they would hold the program the files came from until answered.
    const QStringList paths = DraggedPaths(event->mimeData());
    QTimer::singleShot(0, this, [this, paths, target] { SendDroppedFiles(paths, target); });
}

void CQV7View::SendDroppedFiles(const QStringList& paths, SlotRef target) {
    if (rootItem_) SelectOnly(rootItem_);
    for (const QString& path : paths) {
        FileKind kind;
        if (!DroppedKind(path, &kind)) continue;
        // Selected so that the send dialog offers this slot first; looked
        // up now, since a send before it may have rebuilt the items.
        if (QTreeWidgetItem* item = SlotItem(target)) SelectOnly(item);
        if (droppedFileSender_ && droppedFileSender_(kind, path)) Refresh();
    }
}

bool CQV7View::LoadPreviewCache(CDibImage* image) const {
    return image->LoadFromFile(SymbolPreviewCacheFile());
}

QRect CQV7View::previewArea() const {
    return previewOverlay_->drawnArea();
}

void CQV7View::ErasePreview() {
    if (previewX_ <= 0) return;
    // What was drawn goes, even when the cache can no longer be read.
    previewOverlay_->Erase();
    previewedItemText_.clear();
}

void CQV7View::RedrawPreview() {
    if (previewX_ <= 0 || previewedItemText_.isEmpty()) return;
    CDibImage cached;
    if (LoadPreviewCache(&cached)) {
        previewOverlay_->Draw(cached, PreviewArea(kPreviewLeft, previewY_, cached, viewport()->rect()));
    }
    previewedItemText_.clear();
}

void CQV7View::ShowPreviewAt(int y, bool fetched) {
    if (previewX_ > 0) previewOverlay_->Erase();
    if (fetched) {
        CDibImage cached;
        if (LoadPreviewCache(&cached)) {
            previewOverlay_->Draw(cached, PreviewArea(kPreviewLeft, y, cached, viewport()->rect()));
        }
        previewY_ = y;
    }
    previewX_ = kPreviewLeft;
}

void CQV7View::OnSaveSymbolFile(FileChoicePort& files) {
    ErasePreview();
    const QTreeWidgetItem* selected = selectedItems().value(0, nullptr);
    const QString itemText = selected ? selected->text(0) : QString();
    const FileChoice choice{QLatin1String(kSaveAsTitle), QLatin1String(kSymbolFilter),
                            QLatin1String(kSymbolExtension), itemText.right(kProposedNameLength)};
    QString path;
    if (!files.ChooseFileToSave(choice, &path)) return;
    // A failed save must not look like a saved file; a saved one needs no word.
    if (!SaveSymbolCopy(SymbolPreviewCacheFile(), path)) {
        service_.prompt().ShowMessage(QLatin1String(kSaveSymbolFailed), MessageIcon::Exclamation,
                                      MessageButtons::Ok);
    }
}

void CQV7View::OpenDocument(const QString& path) {
    // The shell's "open" failed without a word, leaving a user who clicked
    // Help with nothing; saying which file could not be opened lets them
    // put it right.
    if (!QFileInfo::exists(path)) {
        emit cannotOpen(QString::fromLatin1(kDocumentMissing).arg(path));
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        emit cannotOpen(QString::fromLatin1(kDocumentUnopened).arg(path));
    }
}

void CQV7View::OnHelpReadMe() {
    OpenDocument(PlatformPaths::ReadMeFile());
}

void CQV7View::OnHelpRegister() {
    QDesktopServices::openUrl(QUrl(QLatin1String(kRegistrationPage)));
}

void CQV7View::OnHelpOperatorsManual() {
    OpenDocument(PlatformPaths::ProgramDocument(QLatin1String(kOperatorsManual)));
}

void CQV7View::OnHelpQuickReference() {
    OpenDocument(PlatformPaths::ProgramDocument(QLatin1String(kQuickReferenceCard)));
}

void CQV7View::OnHelpWebsite() {
    QDesktopServices::openUrl(QUrl(QLatin1String(kWebSite)));
}

}  // namespace quillory
