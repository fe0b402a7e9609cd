// qv7: the QV7E printer from the command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Commands.h"
#include "PrinterOptions.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

const char kGeneralHelp[] =
    "Usage: qv7 [--device NAME] [--trace FILE] COMMAND [ARGUMENTS]\n"
    "\n"
    "Works with a QV7E label printer attached by USB, or with a virtual printer\n"
    "kept in a folder.\n"
    "\n"
    "Options (before or after the command):\n"
    "  --device NAME   the printer to use: 'usb' (the default) or 'virtual:DIR';\n"
    "                  sets QUILLORY_DEVICE for this run\n"
    "  --trace FILE    append one line per driver operation to FILE;\n"
    "                  sets QUILLORY_TRACE for this run\n"
    "  -h, --help      show this help, or a command's help after its name\n"
    "  --version       show the version\n"
    "\n"
    "Commands:\n";

const char kExitCodesHelp[] =
    "\n"
    "Exit codes: 0 success, 1 the operation failed, 2 the command line was not understood.\n";

void PrintGeneralHelp(FILE* out) {
    std::fputs(kGeneralHelp, out);
    for (const Command& command : AllCommands()) {
        std::fprintf(out, "  %-32s %s\n", command.name, command.synopsis);
    }
    std::fputs(kExitCodesHelp, out);
}

const Command* FindCommand(const std::string& name) {
    for (const Command& command : AllCommands()) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

}  // namespace

int UsageError(const std::string& message) {
    // Usage errors quote what was typed, and a word on the command line may
    // hold anything a terminal would act on.
    std::fprintf(stderr, "qv7: %s\nTry 'qv7 --help'.\n", TerminalText(message).constData());
    return kExitUsage;
}

bool WantsHelp(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") return true;
    }
    return false;
}

}  // namespace qv7cli

int main(int argc, char** argv) {
    using namespace qv7cli;

    // The printer options may stand anywhere; everything else is the command and its arguments.
    quillory::PrinterOptions printer;
    Arguments rest;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            rest.insert(rest.end(), argv + i + 1, argv + argc);
            break;
        }
        std::string error;
        switch (quillory::TakePrinterOption(argc, argv, &i, &printer, &error)) {
        case quillory::OptionTaken::Yes: continue;
        case quillory::OptionTaken::Refused: return UsageError(error);
        case quillory::OptionTaken::No: rest.emplace_back(argv[i]);
        }
    }

    if (!rest.empty() && rest[0] == "--version") {
        std::printf("qv7 %s\n", QUILLORY_VERSION);
        return kExitSuccess;
    }
    if (rest.empty() || rest[0] == "-h" || rest[0] == "--help" || rest[0] == "help") {
        if (rest.size() >= 2 && rest[0] == "help") {
            if (const Command* command = FindCommand(rest[1])) {
                std::fputs(command->help, stdout);
                return kExitSuccess;
            }
        }
        PrintGeneralHelp(rest.empty() ? stderr : stdout);
        return rest.empty() ? kExitUsage : kExitSuccess;
    }
    quillory::ApplyPrinterOptions(printer);

    const Command* command = FindCommand(rest[0]);
    if (!command) return UsageError("unknown command '" + rest[0] + "'");
    const Arguments commandArgs(rest.begin() + 1, rest.end());
    if (WantsHelp(commandArgs)) {
        std::fputs(command->help, stdout);
        return kExitSuccess;
    }
    return command->run(commandArgs);
}
