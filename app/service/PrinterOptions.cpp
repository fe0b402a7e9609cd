#include "PrinterOptions.h"

#include <cstdlib>
#include <cstring>

#include "qv7/DeviceDriver.h"

namespace quillory {

namespace {

// Takes "--option VALUE" or "--option=VALUE" at argv[*i]. False when the
// argument is another one; *missing when the value is not there.
bool TakeValue(int argc, const char* const* argv, int* i, const char* option, std::string* value, bool* missing) {
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

OptionTaken TakePrinterOption(int argc, const char* const* argv, int* i, PrinterOptions* options,
                              std::string* error) {
    bool missing = false;
    if (TakeValue(argc, argv, i, "--device", &options->device, &missing)) {
        if (missing) {
            *error = "--device needs a value ('usb' or 'virtual:DIR')";
            return OptionTaken::Refused;
        }
        if (!qv7::IsKnownDeviceName(options->device)) {
            *error = "unknown device '" + options->device + "' (use 'usb' or 'virtual:DIR')";
            return OptionTaken::Refused;
        }
        options->deviceGiven = true;
        return OptionTaken::Yes;
    }
    if (TakeValue(argc, argv, i, "--trace", &options->trace, &missing)) {
        if (missing || options->trace.empty()) {
            *error = "--trace needs a file name";
            return OptionTaken::Refused;
        }
        options->traceGiven = true;
        return OptionTaken::Yes;
    }
    return OptionTaken::No;
}

void ApplyPrinterOptions(const PrinterOptions& options) {
    if (options.deviceGiven) setenv("QUILLORY_DEVICE", options.device.c_str(), 1);
    if (options.traceGiven) setenv("QUILLORY_TRACE", options.trace.c_str(), 1);
}

}  // namespace quillory
