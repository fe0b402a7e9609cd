#include "CommandLine.h"

#include <cstring>


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
    "  --paths         print where Quillory looks for its installed files\n"
    "  -h, --help      show this help\n";

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            line.help = true;
        } else if (std::strcmp(argv[i], "--paths") == 0) {
            line.paths = true;
        } else if (TakePrinterOption(argc, argv, &i, &line, &line.error) == OptionTaken::Refused) {
            return line;
        }
    }
    return line;
}

}  // namespace quillory
