// qv7 info: driver version and file types.
#include <QJsonArray>
#include <cstdio>
#include <cstring>
#include <string>

#include "PrinterSession.h"
#include "QV7_Sys_API.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

int Fail(CQV7_Sys_API& printer) {
    SayPrinterUnreachable(QString::fromStdString(printer.GetError()));
    return kExitFailed;
}

}  // namespace

int RunInfo(Invocation& invocation) {
    CQV7_Sys_API printer;
    if (printer.IsError()) return Fail(printer);

    uint32_t version = 0;
    if (!printer.GetVersion(&version)) return Fail(printer);
    uint16_t typeCount = 0;
    if (!printer.GetFileTypes(&typeCount)) return Fail(printer);

    QJsonArray types;
    std::string text = "Driver version: " + std::to_string(version) + "\nFile types: " + std::to_string(typeCount) +
                       "\n";
    for (uint16_t type = 0; type < typeCount; ++type) {
        uint16_t slotCount = 0;
        QV7_FILE_TYPE_ATTRIBUTES attributes{};
        if (!printer.GetFileMax(type, &slotCount)) return Fail(printer);
        if (!printer.GetFileTypeAttributes(type, &attributes)) return Fail(printer);
        const QString name = QString::fromLatin1(
            attributes.typeName, static_cast<qsizetype>(strnlen(attributes.typeName, sizeof attributes.typeName)));
        text += "  " + std::to_string(type) + "  " + TerminalText(name).leftJustified(3).toStdString() + "  " +
                std::to_string(slotCount) + " slots\n";
        types.append(QJsonObject{{"type", type}, {"name", name}, {"slots", slotCount}});
    }
    // Nothing is printed before every answer is in: a printer that stops
    // answering halfway leaves no half list.
    if (invocation.json()) {
        invocation.result.insert("driver_version", static_cast<qint64>(version));
        invocation.result.insert("file_types", types);
    } else {
        std::fputs(text.c_str(), stdout);
    }
    return kExitSuccess;
}

}  // namespace qv7cli
