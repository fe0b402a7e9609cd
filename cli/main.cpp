// qv7: the QV7E printer from the command line.
#include <QJsonDocument>
#include <cstdio>
#include <cstring>
#include <string>

#include "CommandHelp.h"
#include "Commands.h"
#include "PrinterOptions.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

// The shapes of the JSON documents (docs/json.md); a change that takes a
// field away or gives one another meaning counts it up.
constexpr int kJsonVersion = 1;

// -h or --help among a command's arguments, before any "--".
bool WantsHelp(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "-h" || arg == "--help") return true;
    }
    return false;
}

// The one document on stdout: whatever the command filled in, the version
// of the shapes and the outcome. Its texts come from the printer and from
// files as well, so it is made as safe to show as any other output.
void PrintDocument(const Invocation& invocation, int exitCode) {
    QJsonObject document = invocation.result;
    document.insert("qv7_json", kJsonVersion);
    document.insert("command", invocation.command->name);
    document.insert("ok", exitCode == kExitSuccess);
    std::fputs(TerminalSafeJson(QJsonDocument(document).toJson(QJsonDocument::Indented)).constData(), stdout);
}

}  // namespace

}  // namespace qv7cli

int main(int argc, char** argv) {
    using namespace qv7cli;

    // The printer options may stand anywhere before "--"; everything else is
    // the command and its arguments.
    quillory::PrinterOptions printer;
    Arguments rest;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            // After the command's name, the command needs to see it too.
            if (!rest.empty()) rest.emplace_back("--");
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
                std::fputs(CommandHelpText(*command).c_str(), stdout);
                return kExitSuccess;
            }
        }
        std::fputs(GeneralHelpText().c_str(), rest.empty() ? stderr : stdout);
        return rest.empty() ? kExitUsage : kExitSuccess;
    }
    quillory::ApplyPrinterOptions(printer);

    const Command* command = FindCommand(rest[0]);
    if (!command) return UsageError("unknown command '" + rest[0] + "'");
    const Arguments commandArgs(rest.begin() + 1, rest.end());
    if (WantsHelp(commandArgs)) {
        std::fputs(CommandHelpText(*command).c_str(), stdout);
        return kExitSuccess;
    }
    Invocation invocation;
    int exitCode = kExitUsage;
    if (!ParseInvocation(*command, commandArgs, &invocation, &exitCode)) return exitCode;
    exitCode = command->run(invocation);
    // A command line not understood leaves stdout empty, --json or not.
    if (invocation.json() && exitCode != kExitUsage) PrintDocument(invocation, exitCode);
    return exitCode;
}
