// The two options with which both programs choose the printer and trace it:
// --device NAME and --trace FILE, each also as --option=VALUE.
#ifndef QUILLORY_PRINTER_OPTIONS_H
#define QUILLORY_PRINTER_OPTIONS_H

#include <string>

namespace quillory {

struct PrinterOptions {
    bool deviceGiven = false;
    std::string device;  // "usb" or "virtual:DIR" when given
    bool traceGiven = false;
    std::string trace;   // the file the driver operations are appended to
};

enum class OptionTaken { No, Yes, Refused };

// Looks at argv[*i]: takes it (and its value, moving *i on) when it is one of
// the two options. Refused, with the reason in *error, when the value is
// missing or names no device.
OptionTaken TakePrinterOption(int argc, const char* const* argv, int* i, PrinterOptions* options,
                              std::string* error);

// Makes the options hold for every connection of this process.
void ApplyPrinterOptions(const PrinterOptions& options);

}  // namespace quillory

#endif
