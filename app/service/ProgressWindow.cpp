#include "ProgressWindow.h"

namespace quillory {

namespace {

ProgressWindow* currentWindow = nullptr;
// What the last closed window had seen: the firmware jobs ask after closing it.
int lastFinishedImageKind = 0;

}  // namespace

ProgressWindow::ProgressWindow(QString windowText, QString transferText)
    : shownText_(std::move(windowText)), transferText_(std::move(transferText)) {
    currentWindow = this;
}

ProgressWindow::~ProgressWindow() {
    // A callback arriving after the window is gone must find nothing rather
    // than a destroyed window.
    if (currentWindow == this) {
        lastFinishedImageKind = finishedImageKind_;
        currentWindow = nullptr;
    }
}

void ProgressWindow::Open() {
    Report(0, 1);
    Show();
}

void ProgressWindow::Report(uint32_t done, uint32_t total) {
    if (done >= total) {
        if (total == kFirmwareImageSize200) {
            finishedImageKind_ = 1;
        } else if (total == kFirmwareImageSize300) {
            finishedImageKind_ = 2;
        }
    }
    shownText_ = transferText_;
    ShowText(shownText_);
    ShowProgress(done, total);
    PumpEvents();
}

ProgressWindow* ProgressWindow::Current() {
    return currentWindow;
}

void TransferProgress(uint32_t done, uint32_t total) {
    if (currentWindow) currentWindow->Report(done, total);
}

int GetFinishedImageKind() {
    return currentWindow ? currentWindow->finishedImageKind() : lastFinishedImageKind;
}

}  // namespace quillory
