// Makes an empty folder into a believable printer.
#ifndef QV7_VIRTUAL_PRINTER_SEED_H
#define QV7_VIRTUAL_PRINTER_SEED_H

#include <string>

#include "PrinterFolder.h"

namespace qv7::virtualprinter {

// Driver version 3; types DAT (16 slots), QV7 (30), MAP (10) in that order;
// sample data files, label files and 150 x 150 symbols; a 1 MiB firmware
// image. printer.txt is written last, so a folder that has it is complete.
// A faults.txt already in the folder stays in force.
bool SeedPrinter(const PrinterFolder& folder, std::string* error);

}  // namespace qv7::virtualprinter

#endif
