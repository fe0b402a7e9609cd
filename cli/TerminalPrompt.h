// The prompt port on the terminal: messages go to stderr, and a Yes/No
// question is asked only when someone can answer it.
#ifndef QV7_CLI_TERMINALPROMPT_H
#define QV7_CLI_TERMINALPROMPT_H

#include <cstdio>

#include "PromptPort.h"

namespace qv7cli {

class TerminalPrompt final : public quillory::PromptPort {
public:
    // Asks on stdin and writes to stderr.
    TerminalPrompt();
    // Questions are asked only when input is a terminal; otherwise they are
    // answered No, so a script never waits for a reply that cannot come.
    TerminalPrompt(std::FILE* input, std::FILE* output);

    quillory::MessageAnswer ShowMessage(const QString& text, quillory::MessageIcon icon,
                                        quillory::MessageButtons buttons) override;

private:
    quillory::MessageAnswer AskYesNo();

    std::FILE* input_;
    std::FILE* output_;
    bool interactive_;
};

}  // namespace qv7cli

#endif
