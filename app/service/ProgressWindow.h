// The "Please Wait" window of a transfer, as the core sees it: a line of text
// and a bar in bytes, fed by TransferProgress after every chunk. The program
// draws it with a dialog, qv7 with a bar on the terminal, tests record it.
#ifndef QUILLORY_PROGRESS_WINDOW_H
#define QUILLORY_PROGRESS_WINDOW_H

#include <QString>
#include <cstdint>
#include <memory>

class QWidget;

namespace quillory {

// Sizes of the two firmware images the printer may hold.
constexpr uint32_t kFirmwareImageSize200 = 0x100000;  // 1,048,576 bytes
constexpr uint32_t kFirmwareImageSize300 = 0x110000;  // 1,114,112 bytes

class ProgressWindow {
public:
    // The newest window becomes the current one, which TransferProgress feeds.
    ProgressWindow(QString windowText, QString transferText);
    virtual ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Puts the window on screen. Its first report, (0, 1), replaces the window
    // text with the transfer text before the user sees it.
    void Open();
    // Hands the keyboard focus back to the parent; the owner then destroys the window.
    virtual void Close() = 0;

    // One progress report: (bytes done, bytes in total).
    void Report(uint32_t done, uint32_t total);

    // 1 once a 1,048,576-byte transfer has finished, 2 for 1,114,112 bytes, else 0.
    int finishedImageKind() const { return finishedImageKind_; }
    const QString& transferText() const { return transferText_; }

    static ProgressWindow* Current();

protected:
    virtual void Show() = 0;
    virtual void ShowText(const QString& text) = 0;
    // The bar's range is 0 to total and its position done: it counts bytes.
    virtual void ShowProgress(uint32_t done, uint32_t total) = 0;
    // Lets the user interface breathe between two chunks.
    virtual void PumpEvents() = 0;

private:
    QString shownText_;
    QString transferText_;
    int finishedImageKind_ = 0;
};

class ProgressWindowFactory {
public:
    virtual ~ProgressWindowFactory() = default;
    virtual std::unique_ptr<ProgressWindow> Create(const QString& windowText, const QString& transferText,
                                                   QWidget* parent) = 0;
};

// The progress callback handed to every transfer: reports to the current window.
void TransferProgress(uint32_t done, uint32_t total);

// finishedImageKind of the current window, or of the last one when it has
// already been closed.
int GetFinishedImageKind();

}  // namespace quillory

#endif
