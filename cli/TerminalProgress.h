// The progress window on the terminal: a bar on stderr with bytes, percent
// and rate when stderr is a terminal; the transfer's text alone otherwise.
#ifndef QV7_CLI_TERMINAL_PROGRESS_H
#define QV7_CLI_TERMINAL_PROGRESS_H

#include <chrono>
#include <cstdio>

#include "ProgressWindow.h"

namespace qv7cli {

class TerminalProgressWindow final : public quillory::ProgressWindow {
public:
    TerminalProgressWindow(const QString& windowText, const QString& transferText, std::FILE* out, bool drawBar);
    void Close() override;
    // Ends the bar's line, so that what is written next starts on a line of its own.
    void FinishLine();

protected:
    void Show() override;
    void ShowText(const QString&) override {}
    void ShowProgress(uint32_t done, uint32_t total) override;
    void PumpEvents() override {}

private:
    void Draw(uint32_t done, uint32_t total);

    std::FILE* out_;
    bool drawBar_;
    bool shown_ = false;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastDrawn_;
};

class TerminalProgressWindows final : public quillory::ProgressWindowFactory {
public:
    TerminalProgressWindows();
    std::unique_ptr<quillory::ProgressWindow> Create(const QString& windowText, const QString& transferText,
                                                     QWidget* parent) override;

private:
    bool drawBar_;
};

// Ends the line of the bar on screen, if a transfer is drawing one.
void FinishProgressLine();

// "26.5 KB"-style size for people.
std::string HumanBytes(double bytes);

}  // namespace qv7cli

#endif
