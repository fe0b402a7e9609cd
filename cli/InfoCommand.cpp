// qv7 info: driver version and file types.
#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"
#include "QV7_Sys_API.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

int Fail(CQV7_Sys_API& printer) {
    std::string text = printer.GetError();
    std::fprintf(stderr, "qv7: %s\n", text.empty() ? "the printer did not answer" : TerminalText(text).constData());
    return kExitFailed;
}

}  // namespace

int RunInfo(const Arguments& args) {
    if (!args.empty()) return UsageError("info takes no arguments");

    CQV7_Sys_API printer;
    if (printer.IsError()) return Fail(printer);

    uint32_t version = 0;
    if (!printer.GetVersion(&version)) return Fail(printer);
    uint16_t typeCount = 0;
    if (!printer.GetFileTypes(&typeCount)) return Fail(printer);

    std::printf("Driver version: %u\n", static_cast<unsigned>(version));
    std::printf("File types: %u\n", static_cast<unsigned>(typeCount));
    for (uint16_t type = 0; type < typeCount; ++type) {
        uint16_t slotCount = 0;
        QV7_FILE_TYPE_ATTRIBUTES attributes{};
        if (!printer.GetFileMax(type, &slotCount)) return Fail(printer);
        if (!printer.GetFileTypeAttributes(type, &attributes)) return Fail(printer);
        const QString name = QString::fromLatin1(
            attributes.typeName, static_cast<qsizetype>(strnlen(attributes.typeName, sizeof attributes.typeName)));
        std::printf("  %u  %-3s  %u slots\n", static_cast<unsigned>(type), TerminalText(name).constData(),
                    static_cast<unsigned>(slotCount));
    }
    return kExitSuccess;
}

}  // namespace qv7cli
