// Ports that record what the core shows and answer from a script.
#ifndef QUILLORY_TESTS_SCRIPTED_PORTS_H
#define QUILLORY_TESTS_SCRIPTED_PORTS_H

#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ProgressWindow.h"
#include "PromptPort.h"
#include "SlotDialogPort.h"

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
        void ShowText(const QString&) override {}
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
    std::vector<std::pair<uint32_t, uint32_t>> progress;
    // Runs where the program would let the user act in the middle of a transfer.
    std::function<void()> onPump;
};

// The send and get dialogs, pressing OK as scripted until a press closes the
// dialog; when the presses run out, Cancel.
class ScriptedSlotDialogs : public quillory::SlotDialogPort, private quillory::PreviewAcceptance {
public:
    // The text of the folder or source field, the selected slot and, for a
    // send, whether symbol browsing accepts the file.
    struct Press {
        QString text;
        uint8_t slot;
        bool acceptable = true;
    };

    bool RunGetDialog(quillory::GetFileForm& form, QWidget*) override {
        using Outcome = quillory::GetFileForm::Outcome;
        opened.push_back(form.folder());
        while (!presses.empty()) {
            const Press press = Next();
            const Outcome outcome = form.Accept(press.text, press.slot);
            if (outcome == Outcome::Close) return true;
            outcomes.push_back(outcome == Outcome::FolderRefused ? "focus folder" : "stay");
        }
        return false;
    }
    bool RunSendDialog(quillory::SendFileForm& form, QWidget*) override {
        opened.push_back(form.sourcePath());
        while (!presses.empty()) {
            const Press press = Next();
            acceptable_ = press.acceptable;
            if (form.Accept(press.text, press.slot, this)) return true;
            outcomes.push_back("stay");
        }
        return false;
    }

    std::deque<Press> presses;
    QStringList opened;  // the folder or path each dialog started with
    std::vector<std::string> outcomes;

private:
    Press Next() {
        const Press press = presses.front();
        presses.pop_front();
        return press;
    }
    bool IsAcceptable() const override { return acceptable_; }
    bool acceptable_ = true;
};

}  // namespace quillorytest

#endif
