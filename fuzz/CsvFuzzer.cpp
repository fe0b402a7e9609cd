// CSV text into a data file: the parser on the raw bytes, then the whole
// conversion through a file. A conversion either completes with a whole data
// file or leaves the target byte for byte as it was.
#include <QByteArray>
#include <QString>

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
    return 0;
}
