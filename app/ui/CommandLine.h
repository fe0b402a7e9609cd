// The program's own command-line options. Qt's own (-platform, -style, ...)
// are left to Qt; any other option with two dashes is a mistake, and a
// mistyped --device must not start the program on another printer.
#ifndef QUILLORY_COMMAND_LINE_H
#define QUILLORY_COMMAND_LINE_H

#include <string>

#include "PrinterOptions.h"

namespace quillory {

struct CommandLine : PrinterOptions {
    bool help = false;
    bool version = false;
    bool paths = false;  // print where the installation's files are looked for, and stop
    std::string error;  // why the command line was not understood; empty when it was
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

extern const char kCommandLineHelp[];

}  // namespace quillory

#endif
