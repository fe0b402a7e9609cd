// The commands of qv7, one file each. Every command gets the arguments that
// follow its name (global options already taken out) and returns the exit code.
#ifndef QV7_CLI_COMMANDS_H
#define QV7_CLI_COMMANDS_H

#include <string>
#include <vector>

namespace qv7cli {

// Exit codes of qv7.
constexpr int kExitSuccess = 0;
constexpr int kExitFailed = 1;  // the operation failed (printer, file, data)
constexpr int kExitUsage = 2;   // the command line was not understood

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    const char* synopsis;  // one line for the command list
    const char* help;      // the command's own --help text
    int (*run)(const Arguments& args);
};

// All commands in the order qv7 --help lists them.
const std::vector<Command>& AllCommands();

int RunInfo(const Arguments& args);
int RunList(const Arguments& args);
int RunGet(const Arguments& args);
int RunSend(const Arguments& args);
int RunConvert(const Arguments& args);
int RunFirmware(const Arguments& args);
int RunPaths(const Arguments& args);
int RunDoctor(const Arguments& args);
int RunUdevRule(const Arguments& args);
int RunSendSet(const Arguments& args);
int RunGetAll(const Arguments& args);

// Prints "qv7: " + message to stderr and returns kExitUsage.
int UsageError(const std::string& message);
// True when args is exactly one of "-h" / "--help".
bool WantsHelp(const Arguments& args);

}  // namespace qv7cli

#endif
