// CSV text into a data file: the parser on the raw bytes, then the whole
// conversion through a file. A conversion either completes with a whole data
// file or leaves the target byte for byte as it was. A data file made from
// CSV text goes back to CSV text that makes the same data file again (or one
// too long to convert: its line ends and quotation marks may add characters).
#include <QByteArray>
#include <QString>

#include <cstdio>

#include "CDataFileTable.h"
#include "CsvConversion.h"
#include "CsvParser.h"
#include "FuzzSupport.h"
#include "RacingClock.h"
#include "ScriptedPorts.h"

namespace {

constexpr qsizetype kDataFileSize = 26536;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string dir = qv7fuzz::ScratchFolder("qv7fuzz-csv");
    static qv7fuzz::RacingClock clock;
    qv7::SetClock(&clock);

    quillory::CDataFileTable parsed;
    quillory::ParseCsvText(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), parsed);

    const std::string csv = dir + "/list.csv";
    const std::string target = dir + "/list.dat";
    const std::string before = "the user's own file";
    qv7fuzz::WriteWhole(csv, data, size);
    qv7fuzz::WriteWhole(target, before.data(), before.size());

    quillory::CDataFileTable table;
    quillorytest::RecordingPrompt prompt;
    const bool converted = quillory::ConvertCsvToDataFile(table, QString::fromStdString(csv), QStringLiteral("list"),
                                                          QString::fromStdString(target), prompt);
    const std::string after = qv7fuzz::ReadWhole(target);
    if (converted && static_cast<qsizetype>(after.size()) != kDataFileSize) __builtin_trap();
    if (!converted && after != before) __builtin_trap();
    if (qv7fuzz::Listing(dir) != std::vector<std::string>{"list.csv", "list.dat"}) __builtin_trap();
    if (!converted) return 0;

    const std::string back = dir + "/back.csv";
    const std::string again = dir + "/again.dat";
    if (!quillory::ConvertDataFileToCsv(table, QString::fromStdString(target), QString::fromStdString(back), prompt)) {
        __builtin_trap();
    }
    quillory::CsvParseResult reparsed;
    if (quillory::ConvertCsvToDataFile(table, QString::fromStdString(back), QStringLiteral("list"),
                                       QString::fromStdString(again), prompt, &reparsed)) {
        if (qv7fuzz::ReadWhole(again) != after) __builtin_trap();
    } else if (reparsed.status != quillory::CsvParseStatus::TextTooLong) {
        __builtin_trap();
    }
    std::remove(back.c_str());
    std::remove(again.c_str());
    return 0;
}
