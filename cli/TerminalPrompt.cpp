#include "TerminalPrompt.h"

#include <unistd.h>

#include <QByteArray>

#include "TerminalProgress.h"
#include "TerminalText.h"

namespace qv7cli {

using quillory::MessageAnswer;
using quillory::MessageButtons;
using quillory::MessageIcon;

namespace {

// False at end of input with nothing read.
bool ReadLine(std::FILE* input, QByteArray* line) {
    int c;
    while ((c = std::fgetc(input)) != EOF && c != '\n') line->append(static_cast<char>(c));
    return c != EOF || !line->isEmpty();
}

}  // namespace

TerminalPrompt::TerminalPrompt() : TerminalPrompt(stdin, stderr) {}

TerminalPrompt::TerminalPrompt(std::FILE* input, std::FILE* output)
    : input_(input), output_(output), interactive_(isatty(fileno(input)) == 1) {}

MessageAnswer TerminalPrompt::ShowMessage(const QString& text, MessageIcon /*icon*/, MessageButtons buttons) {
    // Texts are shown as the program words them, line breaks included; the
    // icon has no meaning on a terminal. A transfer's bar may be mid-line.
    FinishProgressLine();
    const QByteArray bytes = TerminalText(text);
    std::fputs(bytes.constData(), output_);
    if (buttons == MessageButtons::Ok) {
        if (!bytes.endsWith('\n')) std::fputc('\n', output_);
        std::fflush(output_);
        return MessageAnswer::Ok;
    }
    return AskYesNo();
}

MessageAnswer TerminalPrompt::AskYesNo() {
    std::fputs(" [y/N] ", output_);
    if (!interactive_) {
        std::fputs("no (input is not a terminal)\n", output_);
        std::fflush(output_);
        return MessageAnswer::No;
    }
    for (;;) {
        std::fflush(output_);
        QByteArray answer;
        if (!ReadLine(input_, &answer)) {
            std::fputc('\n', output_);
            return MessageAnswer::No;
        }
        answer = answer.trimmed().toLower();
        if (answer == "y" || answer == "yes") return MessageAnswer::Yes;
        if (answer.isEmpty() || answer == "n" || answer == "no") return MessageAnswer::No;
        std::fputs("Please answer y or n. [y/N] ", output_);
    }
}

}  // namespace qv7cli
