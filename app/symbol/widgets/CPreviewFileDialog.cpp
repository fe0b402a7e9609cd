#include "CPreviewFileDialog.h"

#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include "CSymbolPreviewSource.h"
#include "SymbolFiles.h"

namespace quillory {

namespace {

const char kCaption[] = "Symbol Preview";
const char kNote[] = "Note: Please select a 150x150 pixels monochrome bitmap.";

// The pane's layout, in pixels from its top left corner: the caption, below
// it the frame, below that the note.
constexpr int kCaptionHeight = 20;
constexpr int kFrameTop = 25;
constexpr int kNoteTop = kFrameTop + kSymbolSide + 5;
constexpr int kNoteHeight = 50;
constexpr int kPaneWidth = kSymbolSide + 10;

// "Bitmap Files (*.bmp)|*.bmp|" as the dialog's name filters: the descriptions.
QStringList NameFiltersOf(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2) {
        const QString shown = QLatin1Char('(') + parts[i + 1] + QLatin1Char(')');
        filters << (parts[i].contains(shown) ? parts[i] : parts[i] + QLatin1Char(' ') + shown);
    }
    return filters;
}

class PreviewPane : public QWidget {
public:
    PreviewPane(CSymbolPreviewSource* source, QWidget* parent) : QWidget(parent), source_(source) {
        setFixedSize(kPaneWidth, kNoteTop + kNoteHeight);
        auto* caption = new QLabel(QLatin1String(kCaption), this);
        caption->setGeometry(0, 0, kPaneWidth, kCaptionHeight);
        auto* note = new QLabel(QLatin1String(kNote), this);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        note->setGeometry(0, kNoteTop, kPaneWidth, kNoteHeight);
    }

    static QRect Frame() { return QRect(0, kFrameTop, kSymbolSide, kSymbolSide); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect frame = Frame();
        // Sunken: shadow along the top and left, light along the bottom and right.
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.topLeft(), frame.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());

        const QRect inside = frame.adjusted(1, 1, -1, -1);
        painter.setClipRect(inside);
        source_->Draw(painter, inside.x(), inside.y(), inside.width(), inside.height());
    }

private:
    CSymbolPreviewSource* source_;
};

}  // namespace

CPreviewFileDialog::CPreviewFileDialog(CSymbolPreviewSource* source, bool open, const QString& defaultExtension,
                                       const QString& fileName, unsigned flags, const QString& filter, QWidget* parent)
    : QFileDialog(parent), source_(source) {
    // The pane needs Qt's own dialog: a native one has no room for it.
    setOption(QFileDialog::DontUseNativeDialog, true);
    setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(flags & kFileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setOption(QFileDialog::DontConfirmOverwrite, !(flags & kOverwritePrompt));
    setDefaultSuffix(defaultExtension);
    setNameFilters(NameFiltersOf(filter));
    if (!fileName.contains(QLatin1Char('*')) && !fileName.contains(QLatin1Char('?'))) selectFile(fileName);

    connect(this, &QFileDialog::currentChanged, this, &CPreviewFileDialog::OnFileNameChange);
    // The model's root is where every way of changing folder meets (a double
    // click, a typed path, back and forward); the selection Qt clears right
    // after it is the report to ignore.
    if (auto* model = findChild<QFileSystemModel*>()) {
        connect(model, &QFileSystemModel::rootPathChanged, this, &CPreviewFileDialog::OnFolderChange);
    }
    OnInitDone();
}

QRect CPreviewFileDialog::previewRect() const {
    return PreviewPane::Frame();
}

void CPreviewFileDialog::OnInitDone() {
    auto* grid = qobject_cast<QGridLayout*>(layout());
    if (!grid) return;
    pane_ = new PreviewPane(source_, this);
    grid->addWidget(pane_, 0, grid->columnCount(), grid->rowCount(), 1, Qt::AlignTop);
}

void CPreviewFileDialog::OnFileNameChange(const QString& path) {
    if (!folderJustChanged_) {
        source_->Load(path);
        if (pane_) pane_->update(previewRect());
    }
    folderJustChanged_ = false;
}

void CPreviewFileDialog::OnFolderChange() {
    folderJustChanged_ = true;
    // Qt reports the cleared selection at once, and only when something was
    // selected; a report that comes later is the user's and must count.
    QTimer::singleShot(0, this, [this] { folderJustChanged_ = false; });
    source_->Load(QString());
    if (pane_) pane_->update(previewRect());
}

}  // namespace quillory
