// One slot of the printer's catalogue: which file type it belongs to, its
// number and the name of the file stored in it.
#ifndef QUILLORY_CSLOTENTRY_H
#define QUILLORY_CSLOTENTRY_H

#include <QString>
#include <cstdint>

#include "QV7_Sys_API.h"

namespace quillory {

class PromptPort;

// The message of a printer whose firmware is too old for file transfers.
extern const char kFirmwareUpgradeMessage[];
// What such a printer reports as the name of every slot.
extern const char kOldFirmwareSlotName[];

class CSlotEntry {
public:
    CSlotEntry(uint8_t typeIndex, QString typeName, uint8_t slot);
    virtual ~CSlotEntry() = default;

    // Reads the stored file's name from the printer. A printer with old
    // firmware is refused here, with the upgrade message.
    bool ReadName(CQV7_Sys_API& connection, PromptPort& prompt);
    // Copies the slot's file into path, once the printer confirms on the same
    // connection that the slot still holds the file of that name. On failure
    // *reason, if given, holds the library's text or says the slot changed.
    bool ReceiveFile(const QString& path, QV7_PROGRESS_CALLBACK progress, QString* reason = nullptr);
    // Stores the file at path in the slot; a failure shows the library's own
    // text, except when no connection was made: that text goes to *reason.
    bool SendFile(const QString& path, QV7_PROGRESS_CALLBACK progress, PromptPort& prompt, QString* reason = nullptr);

    uint8_t typeIndex;  // the printer's file type index
    QString typeName;   // "DAT", "QV7" or "MAP"
    uint8_t slot;       // 1-based; the printer counts from 0
    QString fileName;   // trailing blanks removed
    int32_t valid;      // 1 once the name was read and accepted
};

}  // namespace quillory

#endif
