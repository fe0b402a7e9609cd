// qv7: the QV7E printer from the command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Commands.h"
#include "qv7/DeviceDriver.h"

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

// Takes "--option VALUE" or "--option=VALUE" at args[*i]; false when absent.
bool TakeOptionValue(const Arguments& args, size_t* i, const char* option, std::string* value, bool* missing) {
    const std::string& arg = args[*i];
    const size_t length = std::strlen(option);
    if (arg == option) {
        if (*i + 1 >= args.size()) {
            *missing = true;
            return true;
        }
        *value = args[++*i];
        return true;
    }
    if (arg.compare(0, length, option) == 0 && arg.size() > length && arg[length] == '=') {
        *value = arg.substr(length + 1);
        return true;
    }
    return false;
}

}  // namespace

int UsageError(const std::string& message) {
    std::fprintf(stderr, "qv7: %s\nTry 'qv7 --help'.\n", message.c_str());
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
    Arguments args;
    std::string device;
    std::string trace;
    bool deviceGiven = false;
    bool traceGiven = false;
    for (size_t i = 1; i < static_cast<size_t>(argc); ++i) {
        args.emplace_back(argv[i]);
    }

    // Global options may stand anywhere; everything else is the command and its arguments.
    Arguments rest;
    for (size_t i = 0; i < args.size(); ++i) {
        bool missing = false;
        if (args[i] == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (TakeOptionValue(args, &i, "--device", &device, &missing)) {
            if (missing) return UsageError("--device needs a value ('usb' or 'virtual:DIR')");
            deviceGiven = true;
            continue;
        }
        if (TakeOptionValue(args, &i, "--trace", &trace, &missing)) {
            if (missing) return UsageError("--trace needs a file name");
            traceGiven = true;
            continue;
        }
        rest.push_back(args[i]);
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

    if (deviceGiven) {
        if (!qv7::IsKnownDeviceName(device)) {
            return UsageError("unknown device '" + device + "' (use 'usb' or 'virtual:DIR')");
        }
        setenv("QUILLORY_DEVICE", device.c_str(), 1);
    }
    if (traceGiven) {
        if (trace.empty()) return UsageError("--trace needs a file name");
        setenv("QUILLORY_TRACE", trace.c_str(), 1);
    }

    const Command* command = FindCommand(rest[0]);
    if (!command) return UsageError("unknown command '" + rest[0] + "'");
    const Arguments commandArgs(rest.begin() + 1, rest.end());
    if (WantsHelp(commandArgs)) {
        std::fputs(command->help, stdout);
        return kExitSuccess;
    }
    return command->run(commandArgs);
}
