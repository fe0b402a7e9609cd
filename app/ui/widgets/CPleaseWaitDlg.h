// The "Please Wait" window of a transfer: a line of text over a progress bar
// that counts bytes. Modeless, centred on its parent, without a close button;
// TransferProgress feeds it after every 16-byte chunk and it lets the program
// breathe in between.
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
    QPointer<QWidget> owner_;
    QLabel* text_;
    QProgressBar* progress_;
    bool quitPending_ = false;
};

}  // namespace quillory

#endif
