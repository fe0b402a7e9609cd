// What every printer command of qv7 needs: the printer service with terminal
// ports, the catalogue read once, and the words for kinds and slots.
#ifndef QV7_CLI_PRINTER_SESSION_H
#define QV7_CLI_PRINTER_SESSION_H

#include <string>

#include "CPrinterService.h"
#include "Commands.h"
#include "TerminalProgress.h"
#include "TerminalPrompt.h"

namespace qv7cli {

class PrinterSession {
public:
    PrinterSession() : service(prompt, progressWindows) {}

    // Reads the printer's catalogue; on failure says why on stderr, and what
    // to do (SayPrinterUnreachable).
    bool LoadCatalog();

    TerminalPrompt prompt;
    TerminalProgressWindows progressWindows;
    quillory::CPrinterService service;
};

// When the printer could not be reached or did not answer: the library's
// reason, then which printer was tried and where to learn what stands in the
// way. Every command that reaches for the printer says it so.
void SayPrinterUnreachable(const QString& reason);
// The second half alone, after a message that gave the reason already.
void SayWhichPrinterWasTried();

// Parses "data|label|symbol" and a slot number 1-255; prints a usage error and
// returns false when either is wrong.
bool ParseKindAndSlot(const std::string& kindWord, const std::string& slotWord, quillory::FileKind* kind,
                      uint8_t* slot, int* exitCode);

// Refuses a slot number the printer's catalogue does not have; returns kExitFailed.
int NoSuchSlot(const PrinterSession& session, quillory::FileKind kind, uint8_t slot);

// "qv7: PATH: not found" (or "not a file", "not a folder", "permission
// denied"), in a command line's words; returns kExitFailed.
int NotUsable(const QString& path, const char* expected);

// "qv7: " + message on stderr; returns kExitFailed.
int Failed(const std::string& message);

}  // namespace qv7cli

#endif
