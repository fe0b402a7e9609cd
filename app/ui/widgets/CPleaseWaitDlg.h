// The "Please Wait" window of a transfer: a line of text over a progress bar
// that counts bytes. Modeless, centred on its parent, without a close button;
// TransferProgress feeds it after every 16-byte chunk. It catches up with the
// reports and lets the program breathe at the first report of a transfer, at
// its last, and in between every kCatchUpIntervalMs.
//
// The transfer that made the window owns it. The parent is only where it
// stands and who gets the focus back: were it the window's Qt parent too, a
// parent going away during the transfer would delete the window under it.
#ifndef QUILLORY_CPLEASEWAITDLG_H
#define QUILLORY_CPLEASEWAITDLG_H

#include <QDialog>
#include <QPointer>

#include "ProgressWindow.h"

class QLabel;
class QProgressBar;

namespace quillory {

class CPleaseWaitDlg : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    // About 33 times a second: a bar that moves smoothly and a program that
    // answers a click at once, at a small part of the cost of doing both
    // after every chunk, which took longer than moving the chunk itself.
    static constexpr uint64_t kCatchUpIntervalMs = 30;

    CPleaseWaitDlg(const QString& windowText, const QString& transferText, QWidget* parent);
    ~CPleaseWaitDlg() override;

    void Close() override;

    QLabel* textControl() const { return text_; }
    QProgressBar* progressControl() const { return progress_; }

protected:
    void Show() override;
    void ShowText(const QString& text) override;
    void ShowProgress(uint32_t done, uint32_t total) override;
    void PumpEvents() override;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool CatchUpIsDue() const;
    void ShowLastReport();

    QPointer<QWidget> owner_;
    QLabel* text_;
    QProgressBar* progress_;
    bool quitPending_ = false;

    // The last report, shown when the window next catches up.
    QString reportedText_;
    uint32_t reportedDone_ = 0;
    uint32_t reportedTotal_ = 1;
    uint32_t shownTotal_ = 1;
    uint64_t lastCatchUpMs_ = 0;
};

}  // namespace quillory

#endif
