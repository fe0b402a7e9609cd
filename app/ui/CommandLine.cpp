#include "CommandLine.h"

#include <cstring>

#include "qv7/DeviceDriver.h"

namespace quillory {

const char kCommandLineHelp[] =
    "Usage: Quillory [--device NAME] [--trace FILE]\n"
    "\n"
    "Shows the files of a QV7E label printer attached by USB, or of a virtual\n"
    "printer kept in a folder, and moves files between the printer and the PC.\n"
    "\n"
    "Options:\n"
    "  --device NAME   the printer to use: 'usb' (the default) or 'virtual:DIR';\n"
    "                  sets QUILLORY_DEVICE for this run\n"
    "  --trace FILE    append one line per driver operation to FILE;\n"
    "                  sets QUILLORY_TRACE for this run\n"
    "  -h, --help      show this help\n";

namespace {

// Takes "--option VALUE" or "--option=VALUE" at argv[*i]. False when the
// argument is another one; *missing when the value is not there.
bool TakeOption(int argc, const char* const* argv, int* i, const char* option, std::string* value,
                bool* missing) {
    const char* arg = argv[*i];
    const size_t length = std::strlen(option);
    if (std::strcmp(arg, option) == 0) {
        if (*i + 1 >= argc) {
            *missing = true;
        } else {
            *value = argv[++*i];
        }
        return true;
    }
    if (std::strncmp(arg, option, length) == 0 && arg[length] == '=') {
        *value = arg + length + 1;
        return true;
    }
    return false;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        bool missing = false;
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            line.help = true;
        } else if (TakeOption(argc, argv, &i, "--device", &line.device, &missing)) {
            if (missing) {
                line.error = "--device needs a value ('usb' or 'virtual:DIR')";
                return line;
            }
            line.deviceGiven = true;
        } else if (TakeOption(argc, argv, &i, "--trace", &line.trace, &missing)) {
            if (missing || line.trace.empty()) {
                line.error = "--trace needs a file name";
                return line;
            }
            line.traceGiven = true;
        }
    }
    if (line.deviceGiven && !qv7::IsKnownDeviceName(line.device)) {
        line.error = "unknown device '" + line.device + "' (use 'usb' or 'virtual:DIR')";
    }
    return line;
}

}  // namespace quillory
