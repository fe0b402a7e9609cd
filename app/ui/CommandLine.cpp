#include "CommandLine.h"

#include <cstring>
#include <string>

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
    "  --version       show the version\n"
    "  --paths         print where Quillory looks for its installed files\n"
    "  -h, --help      show this help\n"
    "\n"
    "Qt's own options (-platform NAME, -style NAME, ...) are passed on to Qt.\n";

namespace {

// Qt takes its options with one dash or two.
bool IsQtOption(const char* name) {
    static const char* const qtOptions[] = {
        "platform", "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "qwindowicon",
        "qwindowtitle", "reverse", "session", "style", "stylesheet", "widgetcount", "display", "geometry",
        "qmljsdebugger", "nograb", "dograb", "sync"};
    const std::string option(name, std::strcspn(name, "="));
    for (const char* known : qtOptions) {
        if (option == known) return true;
    }
    return false;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            line.help = true;
            continue;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            line.version = true;
            continue;
        }
        if (std::strcmp(argv[i], "--paths") == 0) {
            line.paths = true;
            continue;
        }
        switch (TakePrinterOption(argc, argv, &i, &line, &line.error)) {
        case OptionTaken::Refused: return line;
        case OptionTaken::Yes: continue;
        case OptionTaken::No: break;
        }
        if (std::strncmp(argv[i], "--", 2) == 0 && !IsQtOption(argv[i] + 2)) {
            line.error = "unknown option '" + std::string(argv[i]) + "'";
            return line;
        }
    }
    return line;
}

}  // namespace quillory
