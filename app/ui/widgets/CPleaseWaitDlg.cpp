#include "CPleaseWaitDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QWindow>

#include <climits>

#include "DialogUnits.h"
#include "qv7/Clock.h"

namespace quillory {

namespace {

const char kCaption[] = "Please Wait";

// The window's layout in dialog units, which scale with the dialog's font:
// a 235 by 43 window, the text at (7, 7) 221 wide, the bar at (7, 19) 221 by 17.
constexpr int kWindowWidth = 235;
constexpr int kWindowHeight = 43;
constexpr int kMargin = 7;
constexpr int kControlWidth = 221;
constexpr int kTextHeight = 8;
constexpr int kBarTop = 19;
constexpr int kBarHeight = 17;

}  // namespace

CPleaseWaitDlg::CPleaseWaitDlg(const QString& windowText, const QString& transferText, QWidget* parent)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ProgressWindow(windowText, transferText),
      owner_(parent ? parent->window() : nullptr),
      text_(new QLabel(windowText, this)),
      progress_(new QProgressBar(this)),
      reportedText_(windowText) {
    setWindowTitle(QLatin1String(kCaption));
    setModal(false);

    setFixedSize(DialogSize(this, kWindowWidth, kWindowHeight));
    text_->setGeometry(DialogRect(this, kMargin, kMargin, kControlWidth, kTextHeight));
    text_->setWordWrap(false);
    progress_->setGeometry(DialogRect(this, kMargin, kBarTop, kControlWidth, kBarHeight));
    // A plain bar, as in a native progress control: no percentage drawn on it.
    progress_->setTextVisible(false);
    progress_->setRange(0, 1);
    progress_->setValue(0);

    // A quit that arrives while the transfer runs is held back until it ends.
    qApp->installEventFilter(this);
}

CPleaseWaitDlg::~CPleaseWaitDlg() {
    qApp->removeEventFilter(this);
    if (quitPending_) QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit));
}

void CPleaseWaitDlg::Show() {
    if (owner_) {
        // Above the window it belongs to, and centred on it.
        create();
        owner_->winId();
        windowHandle()->setTransientParent(owner_->windowHandle());
        move(owner_->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    show();
}

void CPleaseWaitDlg::Close() {
    // The window's last look is the transfer's last report, caught up or not.
    ShowLastReport();
    if (owner_) {
        owner_->activateWindow();
        owner_->setFocus();
    }
    hide();
}

void CPleaseWaitDlg::ShowText(const QString& text) {
    reportedText_ = text;
}

void CPleaseWaitDlg::ShowProgress(uint32_t done, uint32_t total) {
    reportedDone_ = done;
    reportedTotal_ = total;
}

// Called last for every report, after the text and the progress.
void CPleaseWaitDlg::PumpEvents() {
    if (!CatchUpIsDue()) return;
    lastCatchUpMs_ = qv7::CurrentClock().MonotonicMs();
    ShowLastReport();
    QCoreApplication::processEvents();
}

// The start of a transfer (a first report or a new total) and its end show
// at once; the reports in between only once the interval has passed.
bool CPleaseWaitDlg::CatchUpIsDue() const {
    return reportedDone_ == 0 || reportedDone_ >= reportedTotal_ || reportedTotal_ != shownTotal_ ||
           qv7::CurrentClock().MonotonicMs() - lastCatchUpMs_ >= kCatchUpIntervalMs;
}

void CPleaseWaitDlg::ShowLastReport() {
    text_->setText(reportedText_);
    shownTotal_ = reportedTotal_;
    uint32_t done = reportedDone_;
    uint32_t total = reportedTotal_;
    // The bar takes int; a total past INT_MAX is halved, with done, until it fits.
    while (total > static_cast<uint32_t>(INT_MAX)) {
        total >>= 1;
        done >>= 1;
    }
    // Both calls return at once when nothing changes, and the bar repaints
    // only when its filled width moves by a pixel.
    progress_->setRange(0, static_cast<int>(total));
    progress_->setValue(static_cast<int>(done));
}

bool CPleaseWaitDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) {
        quitPending_ = true;
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CPleaseWaitDlg::closeEvent(QCloseEvent* event) {
    // The transfer owns the window; the user cannot close it under the transfer.
    event->ignore();
}

void CPleaseWaitDlg::keyPressEvent(QKeyEvent* event) {
    // Escape would reject the dialog and hide it while the transfer goes on.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quillory
