// The help texts qv7 prints, made from the command table.
#ifndef QV7_CLI_COMMAND_HELP_H
#define QV7_CLI_COMMAND_HELP_H

#include <string>
#include <vector>

#include "Commands.h"

namespace qv7cli {

// The ways to call a command, each after "qv7 ": its forms, or one line of
// its operands and options.
std::vector<std::string> UsageForms(const Command& command);

// "-y, --yes" or "--model QV7E|QV7EQ".
std::string OptionLabel(const Option& option);

// The command's paragraphs (Command::description): a paragraph of text is one
// line, a verbatim one keeps its lines.
struct Paragraph {
    bool verbatim = false;
    std::vector<std::string> lines;
};
std::vector<Paragraph> Paragraphs(const char* text);

// qv7 --help: usage, the global options, the commands, the exit codes.
std::string GeneralHelpText();
// qv7 COMMAND --help.
std::string CommandHelpText(const Command& command);

}  // namespace qv7cli

#endif
