// A software QV7E printer kept in a folder: the device side of the protocol
// (control commands, the two bulk pipes, the file status word) over slot
// contents, slot names, file types, firmware image and driver version stored
// as plain files. It stands in for the real printer in demos, tests and
// training, and it can be told to misbehave.
#ifndef QV7_VIRTUAL_PRINTER_H
#define QV7_VIRTUAL_PRINTER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "qv7/DeviceDriver.h"

namespace qv7 {

class VirtualPrinter {
public:
    virtual ~VirtualPrinter() = default;

    // What looking at a folder found, without changing anything in it.
    struct Inspection {
        enum class Outcome {
            Printer,         // printer is loaded
            NotYetAPrinter,  // missing, or nothing but faults.txt and hidden files: the first connection seeds it
            Busy,            // another connection holds the folder
            NotAPrinter,     // reason says why
        };
        Outcome outcome = Outcome::NotAPrinter;
        // Holds the folder's lock for as long as it lives, so that nothing
        // changes under whoever looks; when the folder has no lock file, no
        // connection has used it, and none is made.
        std::unique_ptr<VirtualPrinter> printer;
        std::string reason;                  // NotAPrinter: the folder, then why
        std::vector<std::string> wouldMend;  // Printer: what the next connection mends, one line each
    };
    // Loads the printer kept in dir as Open does, but neither seeds a folder
    // nor mends what an interrupted store left there, and creates no folder
    // or lock file.
    static Inspection Inspect(const std::string& dir);

    // The folder, absolute and without a trailing separator.
    virtual const std::string& Folder() const = 0;

    // Loads the printer kept in dir (docs/virtual-printer.md tells the folder's
    // format). A missing or empty folder is seeded with a believable printer
    // first. Null, with the folder and a reason in *error, when the folder
    // holds something that is not a virtual printer or cannot be read. Pipe
    // calls are counted for the faults from here on: one instance is one
    // connection.
    static std::unique_ptr<VirtualPrinter> Open(const std::string& dir, std::string* error);

    // False when the folder says no device is attached.
    virtual bool IsPresent() const = 0;
    // Reply of the version request (4 bytes on the wire).
    virtual uint32_t DriverVersion() const = 0;

    // A command block sent with the give code (commands 1 and 3). False when
    // the device refuses the block: wrong code for this request, a length
    // field or block length other than the command's, a type or slot the
    // printer does not have, or more than it can hold.
    virtual bool TakeGiveCommand(const uint8_t* block, uint32_t length) = 0;
    // A command block sent with the get code (commands 2 and 4 to 9): the
    // device prepares its reply. False when the device refuses the block, as
    // above; no reply is then left to read.
    // Any block the device takes ends a transfer the host left unfinished.
    virtual bool TakeGetCommand(const uint8_t* block, uint32_t length) = 0;
    // The prepared reply, once: copies at most capacity bytes to out and
    // returns the number of reply bytes the device gives (the reply's length,
    // unless told to answer with a wrong size). 0 when no reply is waiting.
    virtual uint32_t ReadReply(uint8_t* out, uint32_t capacity) = 0;

    // Host to device ("PIPE01"): bytes taken of this chunk. Only the bytes
    // announced by the last command 1 or 3 are taken; past them, none.
    virtual uint32_t WriteBulk(const uint8_t* data, uint32_t length) = 0;
    // Device to host ("PIPE00"): bytes delivered into this chunk, up to the
    // size the last command 2 or 4 announced.
    virtual uint32_t ReadBulk(uint8_t* data, uint32_t length) = 0;
};

// A backend for one connection to a printer already loaded (an inspected one,
// say): it answers as the virtual backend does, without loading the folder
// again, and the printer keeps the hold it has.
std::shared_ptr<DeviceDriver> MakeDriverOver(std::shared_ptr<VirtualPrinter> printer);

}  // namespace qv7

#endif
