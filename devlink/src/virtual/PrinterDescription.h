// printer.txt: the driver version and the file types in device order, each
// with its name and slot count.
#ifndef QV7_VIRTUAL_PRINTER_DESCRIPTION_H
#define QV7_VIRTUAL_PRINTER_DESCRIPTION_H

#include <cstdint>
#include <string>
#include <vector>

namespace qv7::virtualprinter {

// The host gives type and slot indexes to the transfer commands as 8-bit
// values, so more would be unreachable.
constexpr uint32_t kMostTypes = 255;
constexpr uint32_t kMostSlots = 255;

struct FileTypeDescription {
    std::string name;  // 1 to 3 letters or digits: it is a folder name too
    uint16_t slotCount = 0;
};

struct PrinterDescription {
    uint32_t driverVersion = 0;
    std::vector<FileTypeDescription> types;
};

bool ParsePrinterDescription(const std::string& text, PrinterDescription* description, std::string* error);
std::string FormatPrinterDescription(const PrinterDescription& description);

}  // namespace qv7::virtualprinter

#endif
