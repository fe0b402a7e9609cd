#include "PrinterSession.h"

#include <cstdio>
#include <cstdlib>

#include "TerminalText.h"

namespace qv7cli {

bool PrinterSession::LoadCatalog() {
    if (service.RebuildCatalog()) return true;
    if (!service.CatalogError().isEmpty()) {
        std::fprintf(stderr, "qv7: %s\n", TerminalText(service.CatalogError()).constData());
    } else {
        std::fprintf(stderr, "qv7: the printer's files could not be read\n");
    }
    return false;
}

bool ParseKindAndSlot(const std::string& kindWord, const std::string& slotWord, quillory::FileKind* kind,
                      uint8_t* slot, int* exitCode) {
    if (!quillory::KindFromWord(QString::fromStdString(kindWord), kind)) {
        *exitCode = UsageError("unknown kind '" + kindWord + "' (use data, label or symbol)");
        return false;
    }
    char* end = nullptr;
    const long number = std::strtol(slotWord.c_str(), &end, 10);
    if (slotWord.empty() || *end != '\0' || number < 1 || number > 255) {
        *exitCode = UsageError("'" + slotWord + "' is not a slot number (1 to 255)");
        return false;
    }
    *slot = static_cast<uint8_t>(number);
    return true;
}

int NoSuchSlot(const PrinterSession& session, quillory::FileKind kind, uint8_t slot) {
    return Failed(std::string("the printer has no ") + quillory::KindInfo(kind).word + " slot " +
                  std::to_string(slot) + " (it has " + std::to_string(session.service.GetSlotCount(kind)) + ")");
}

int Failed(const std::string& message) {
    std::fprintf(stderr, "qv7: %s\n", TerminalText(message).constData());
    return kExitFailed;
}

}  // namespace qv7cli
