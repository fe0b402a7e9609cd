// The program's own command-line options. Everything else is left to Qt
// (-platform, -style, ...).
#ifndef QUILLORY_COMMAND_LINE_H
#define QUILLORY_COMMAND_LINE_H

#include <string>

namespace quillory {

struct CommandLine {
    bool help = false;
    bool deviceGiven = false;
    std::string device;  // "usb" or "virtual:DIR" when given
    bool traceGiven = false;
    std::string trace;   // the file the driver operations are appended to
    std::string error;   // why the command line was not understood; empty when it was
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

extern const char kCommandLineHelp[];

}  // namespace quillory

#endif
