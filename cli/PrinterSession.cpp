#include "PrinterSession.h"

#include <cstdio>
#include <cstdlib>

#include <QFileInfo>

#include "TerminalText.h"
#include "UsbIdSetting.h"

namespace qv7cli {

namespace {

// Which printer was tried, and what to do next: the library's own words name
// neither.
std::string DeviceTried() {
    const char* device = std::getenv("QUILLORY_DEVICE");
    const std::string name = device && *device ? device : "usb";
    if (name.rfind("virtual:", 0) == 0) return "the virtual printer in " + name.substr(8);
    const qv7::UsbIdSetting ids = qv7::ReadUsbIdSetting();
    if (!ids.ids) return "the printer on USB, whose ids " + ids.written + " cannot be used";
    if (ids.source == qv7::UsbIdSource::Placeholder) {
        return "the printer on USB with the placeholder ids ffff:07e0 (no UsbId is set)";
    }
    return "the printer on USB with the ids " + qv7::FormatUsbIds(*ids.ids);
}

}  // namespace

bool PrinterSession::LoadCatalog() {
    if (service.RebuildCatalog()) return true;
    if (!service.CatalogError().isEmpty()) {
        SayPrinterUnreachable(service.CatalogError());
    } else {
        std::fprintf(stderr, "qv7: the printer's files could not be read\n");
    }
    return false;
}

void SayPrinterUnreachable(const QString& reason) {
    std::fprintf(stderr, "qv7: %s\n",
                 reason.isEmpty() ? "the printer did not answer" : TerminalText(reason).constData());
    SayWhichPrinterWasTried();
}

void SayWhichPrinterWasTried() {
    std::fprintf(stderr,
                 "qv7: tried %s; 'qv7 doctor' tells what stands in the way, and --device virtual:DIR works "
                 "with a virtual printer instead\n",
                 TerminalText(QString::fromStdString(DeviceTried())).constData());
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

int NotUsable(const QString& path, const char* expected) {
    const QFileInfo file(path);
    std::string reason;
    if (!file.exists()) {
        reason = "not found";
    } else if (std::string(expected) == "folder" ? !file.isDir() : !file.isFile()) {
        reason = std::string("not a ") + expected;
    } else {
        reason = "permission denied";
    }
    return Failed(path.toLocal8Bit().toStdString() + ": " + reason);
}

int Failed(const std::string& message) {
    std::fprintf(stderr, "qv7: %s\n", TerminalText(message).constData());
    return kExitFailed;
}

}  // namespace qv7cli
