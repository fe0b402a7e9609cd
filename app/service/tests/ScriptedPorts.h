// Ports that record what the core shows and answer from a script.
#ifndef QUILLORY_TESTS_SCRIPTED_PORTS_H
#define QUILLORY_TESTS_SCRIPTED_PORTS_H

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ProgressWindow.h"
#include "PromptPort.h"

namespace quillorytest {

struct ShownMessage {
    std::string text;
    quillory::MessageIcon icon;
    quillory::MessageButtons buttons;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingPrompt : public quillory::PromptPort {
public:
    quillory::MessageAnswer ShowMessage(const QString& text, quillory::MessageIcon icon,
                                        quillory::MessageButtons buttons) override {
        shown.push_back({text.toStdString(), icon, buttons});
        if (buttons == quillory::MessageButtons::Ok) return quillory::MessageAnswer::Ok;
        if (answers.empty()) return quillory::MessageAnswer::No;
        const quillory::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : shown) texts.push_back(message.text);
        return texts;
    }
    std::vector<ShownMessage> shown;
    std::deque<quillory::MessageAnswer> answers;
};

// Every window it makes writes into one shared log:
// "create WINDOW TEXT|TRANSFER TEXT", "text ...", "progress D/T", "show", "close", "destroy".
class RecordingProgressWindows : public quillory::ProgressWindowFactory {
public:
    class Window : public quillory::ProgressWindow {
    public:
        Window(RecordingProgressWindows& owner, const QString& windowText, const QString& transferText)
            : ProgressWindow(windowText, transferText), owner_(owner) {}
        ~Window() override { owner_.log.push_back("destroy"); }
        void Close() override { owner_.log.push_back("close"); }

    protected:
        void Show() override { owner_.log.push_back("show"); }
        void ShowText(const QString& text) override { owner_.texts.push_back(text.toStdString()); }
        void ShowProgress(uint32_t done, uint32_t total) override {
            owner_.progress.emplace_back(done, total);
        }
        void PumpEvents() override {
            if (owner_.onPump) owner_.onPump();
        }

    private:
        RecordingProgressWindows& owner_;
    };

    std::unique_ptr<quillory::ProgressWindow> Create(const QString& windowText, const QString& transferText,
                                                     QWidget*) override {
        log.push_back("create " + windowText.toStdString() + "|" + transferText.toStdString());
        return std::make_unique<Window>(*this, windowText, transferText);
    }

    std::vector<std::string> log;
    std::vector<std::string> texts;
    std::vector<std::pair<uint32_t, uint32_t>> progress;
    // Runs where the program would let the user act in the middle of a transfer.
    std::function<void()> onPump;
};

}  // namespace quillorytest

#endif
