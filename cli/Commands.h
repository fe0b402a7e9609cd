// The commands of qv7, one file each, and the one table that describes them:
// their words, arguments and options as data. The command line is parsed
// from it, and `qv7 --help`, each command's --help, the manual page and the
// shell completions are written from it, so none of them can say what the
// program does not do.
#ifndef QV7_CLI_COMMANDS_H
#define QV7_CLI_COMMANDS_H

#include <QJsonObject>

#include <map>
#include <string>
#include <vector>

namespace qv7cli {

// Exit codes of qv7.
constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;  // the operation failed (printer, file, data)
constexpr int kExitUsage = 2;   // the command line was not understood

using Arguments = std::vector<std::string>;

// What a shell offers for a word: nothing, the words of the argument's text
// split at '|' ("data|label|symbol"), a file name (with an optional
// extension), a folder name, or a printer ("usb", "virtual:" and a folder).
enum class Completion { Nothing, Words, File, Folder, Device };

struct Operand {
    const char* name;  // as usage lines show it: "SLOT", "data|label|symbol"
    Completion completion = Completion::Nothing;
    const char* extension = nullptr;  // for Completion::File: "csv", or any file
    bool optional = false;
};

struct Option {
    const char* name;                 // "--yes"
    const char* shortName = nullptr;  // "-y"
    const char* argument = nullptr;   // "CODE", "QV7E|QV7EQ"; null for a switch
    Completion completion = Completion::Nothing;  // of the argument
    const char* description = "";
};

struct Invocation;

struct Command {
    const char* name;
    const char* synopsis;  // one line for the command list
    std::vector<Operand> operands;
    // Usage lines (after "qv7 ") where one line built from the operands and
    // options would not tell which go together; usually none.
    std::vector<const char*> forms;
    // Paragraphs separated by an empty line; a paragraph whose lines start
    // with two blanks is shown as it is written (an example to type).
    const char* description;
    std::vector<Option> options;
    int (*run)(Invocation& invocation);
};

// A command line taken apart by its command's table entry.
struct Invocation {
    const Command* command = nullptr;
    Arguments operands;
    std::map<std::string, std::string> options;  // long name -> argument ("" for a switch)
    // Filled by the command when --json was given; qv7 prints it, with the
    // version and the outcome, as the one document on standard output.
    QJsonObject result;

    bool Has(const char* longName) const { return options.count(longName) != 0; }
    std::string Value(const char* longName) const;
    bool json() const { return Has("--json"); }
    // --yes, or --force where a command keeps it.
    bool yes() const { return Has("--yes") || Has("--force"); }
};

// The options every command takes apart from its own, and the program's
// own texts around the commands, for --help and the manual page.
struct ProgramHelp {
    const char* summary;      // the manual page's NAME line
    const char* description;  // paragraphs, as Command::description
    std::vector<Option> globalOptions;
    struct Entry {
        const char* term;
        const char* text;
    };
    std::vector<Entry> exitStatus;
    std::vector<Entry> environment;
    std::vector<Entry> files;
    std::vector<const char*> examples;
    std::vector<const char*> seeAlso;  // "Quillory(1)"
};

// All commands in the order qv7 --help lists them.
const std::vector<Command>& AllCommands();
const Command* FindCommand(const std::string& name);
const ProgramHelp& Program();

// Takes a command's arguments apart; on a line the table does not allow,
// prints a usage error and returns false with *exitCode set.
bool ParseInvocation(const Command& command, const Arguments& args, Invocation* invocation, int* exitCode);

int RunInfo(Invocation& invocation);
int RunList(Invocation& invocation);
int RunGet(Invocation& invocation);
int RunSend(Invocation& invocation);
int RunConvert(Invocation& invocation);
int RunFirmware(Invocation& invocation);
int RunPaths(Invocation& invocation);
int RunDoctor(Invocation& invocation);
int RunUdevRule(Invocation& invocation);
int RunSendSet(Invocation& invocation);
int RunGetAll(Invocation& invocation);

// Prints "qv7: " + message to stderr and returns kExitUsage.
int UsageError(const std::string& message);

}  // namespace qv7cli

#endif
