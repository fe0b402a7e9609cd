#include "TerminalProgress.h"

#include <unistd.h>

#include <string>

#include "TerminalText.h"

namespace qv7cli {

namespace {

// Redrawing after every 16-byte chunk would cost more than the transfer.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 24;

}  // namespace

std::string HumanBytes(double bytes) {
    static const char* units[] = {"B", "KB", "MB", "GB"};
    int unit = 0;
    while (bytes >= 1024.0 && unit < 3) {
        bytes /= 1024.0;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, units[unit]);
    return text;
}

TerminalProgressWindow::TerminalProgressWindow(const QString& windowText, const QString& transferText,
                                               std::FILE* out, bool drawBar)
    : ProgressWindow(windowText, transferText), out_(out), drawBar_(drawBar) {}

void TerminalProgressWindow::Show() {
    shown_ = true;
    started_ = std::chrono::steady_clock::now();
    if (!drawBar_) std::fprintf(out_, "%s\n", TerminalText(transferText()).constData());
}

void TerminalProgressWindow::ShowProgress(uint32_t done, uint32_t total) {
    if (!drawBar_ || !shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < total && drawn_ && now - lastDrawn_ < kRedrawInterval) return;
    lastDrawn_ = now;
    Draw(done, total);
}

void TerminalProgressWindow::Draw(uint32_t done, uint32_t total) {
    const double fraction = total ? static_cast<double>(done) / total : 0.0;
    const int filled = static_cast<int>(fraction * kBarWidth);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kBarWidth - filled), ' ');
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    const std::string rate = seconds > 0.05 ? HumanBytes(done / seconds) + "/s" : std::string("");
    std::fprintf(out_, "\r\033[K%s [%s] %s / %s %3d%% %s", TerminalText(transferText()).constData(), bar.c_str(),
                 HumanBytes(done).c_str(), HumanBytes(total).c_str(), static_cast<int>(fraction * 100), rate.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void TerminalProgressWindow::FinishLine() {
    if (drawBar_ && drawn_) std::fputc('\n', out_);
    drawn_ = false;
    std::fflush(out_);
}

void TerminalProgressWindow::Close() {
    FinishLine();
}

void FinishProgressLine() {
    if (auto* window = dynamic_cast<TerminalProgressWindow*>(quillory::ProgressWindow::Current())) {
        window->FinishLine();
    }
}

TerminalProgressWindows::TerminalProgressWindows() : drawBar_(isatty(STDERR_FILENO) == 1) {}

std::unique_ptr<quillory::ProgressWindow> TerminalProgressWindows::Create(const QString& windowText,
                                                                          const QString& transferText, QWidget*) {
    return std::make_unique<TerminalProgressWindow>(windowText, transferText, stderr, drawBar_);
}

}  // namespace qv7cli
