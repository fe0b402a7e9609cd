#include "Commands.h"

namespace qv7cli {

const std::vector<Command>& AllCommands() {
    static const std::vector<Command> commands = {
        {"info", "driver version and the printer's file types",
         "Usage: qv7 info\n"
         "\n"
         "Prints the printer driver's version and each file type the printer keeps,\n"
         "in the printer's order, with its name and number of slots.\n",
         RunInfo},
    };
    return commands;
}

}  // namespace qv7cli
