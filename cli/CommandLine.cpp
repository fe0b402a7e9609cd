// A command's arguments taken apart by its entry in the command table, so the
// options a command accepts are exactly the ones its help lists.
#include <algorithm>
#include <cstdio>

#include "Commands.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

const Option* FindOption(const Command& command, const std::string& word) {
    for (const Option& option : command.options) {
        if (word == option.name || (option.shortName && word == option.shortName)) return &option;
    }
    return nullptr;
}

bool TakesFileNames(const Command& command) {
    return std::any_of(command.operands.begin(), command.operands.end(), [](const Operand& operand) {
        return operand.completion == Completion::File || operand.completion == Completion::Folder;
    });
}

std::string OperandsText(const Command& command) {
    std::string text;
    for (const Operand& operand : command.operands) {
        text += (text.empty() ? "" : " ") + (operand.optional ? "[" + std::string(operand.name) + "]" : operand.name);
    }
    return text;
}

int UnknownOption(const Command& command, const std::string& word) {
    std::string message = std::string(command.name) + " has no option '" + word + "'";
    // A file whose name starts with '-' is still reachable.
    if (TakesFileNames(command)) message += " (name such a file as ./" + word + ")";
    return UsageError(message);
}

}  // namespace

int UsageError(const std::string& message) {
    // Usage errors quote what was typed, and a word on the command line may
    // hold anything a terminal would act on.
    std::fprintf(stderr, "qv7: %s\nTry 'qv7 --help'.\n", TerminalText(message).constData());
    return kExitUsage;
}

std::string Invocation::Value(const char* longName) const {
    const auto found = options.find(longName);
    return found == options.end() ? std::string() : found->second;
}

bool ParseInvocation(const Command& command, const Arguments& args, Invocation* invocation, int* exitCode) {
    invocation->command = &command;
    bool optionsEnd = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            invocation->operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        const size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
        const std::string word = arg.substr(0, equals);
        const Option* option = FindOption(command, word);
        if (!option) {
            *exitCode = UnknownOption(command, word);
            return false;
        }
        std::string value;
        if (option->argument) {
            if (equals != std::string::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                *exitCode = UsageError(std::string(option->name) + " needs " + option->argument);
                return false;
            }
        } else if (equals != std::string::npos) {
            *exitCode = UsageError(std::string(option->name) + " takes no value");
            return false;
        }
        invocation->options[option->name] = value;
    }

    const size_t given = invocation->operands.size();
    const size_t most = command.operands.size();
    const size_t least = static_cast<size_t>(std::count_if(command.operands.begin(), command.operands.end(),
                                                           [](const Operand& operand) { return !operand.optional; }));
    if (given > most) {
        const std::string& extra = invocation->operands[most];
        *exitCode = UsageError(most == 0 ? std::string(command.name) + " takes no argument '" + extra + "'"
                                         : std::string(command.name) + " takes " + OperandsText(command) + "; '" +
                                               extra + "' is one too many");
        return false;
    }
    if (given < least) {
        *exitCode = UsageError(std::string(command.name) + " needs " + OperandsText(command));
        return false;
    }
    return true;
}

}  // namespace qv7cli
