// "Save as CSV...": the data file in a printer slot, saved as CSV text.
#ifndef QUILLORY_SAVE_AS_CSV_COMMAND_H
#define QUILLORY_SAVE_AS_CSV_COMMAND_H

#include <cstdint>

class QWidget;

namespace quillory {

class CPrinterService;
class FileChoicePort;

// Asks where the CSV file goes, fetches the slot's data file into a temporary
// folder through the get job (its busy flag, its window, its failure box),
// converts it there and removes the folder. Every failure is shown through
// the service's prompt; success is silent. Refused without a word while a
// transfer runs: a file choice opened from inside its event pump would hold
// the transfer until answered.
bool SaveDataSlotAsCsv(CPrinterService& service, uint8_t slot, FileChoicePort& files, QWidget* parent);

}  // namespace quillory

#endif
