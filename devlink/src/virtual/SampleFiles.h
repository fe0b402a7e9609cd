// What a new virtual printer holds: a few data files, label files and symbol
// bitmaps, and a firmware image, all built the same way every time.
#ifndef QV7_VIRTUAL_SAMPLE_FILES_H
#define QV7_VIRTUAL_SAMPLE_FILES_H

#include <cstdint>
#include <string>
#include <vector>

namespace qv7::virtualprinter {

struct SampleFile {
    uint32_t slotIndex = 0;
    std::vector<uint8_t> bytes;
};

constexpr uint32_t kDataFileSize = 26536;
constexpr uint32_t kSymbolSide = 150;
constexpr uint32_t kFirmwareSize = 1048576;

// A data file of up to 100 records of up to 8 fields, in the fixed layout.
std::vector<uint8_t> BuildDataFile(const std::string& databaseName, const std::string& date,
                                   const std::vector<std::vector<std::string>>& records);

// A 1 bit per pixel bitmap, bottom-up, black where ink(x, y) says so (x, y
// from the top left corner).
std::vector<uint8_t> BuildMonochromeBitmap(uint32_t width, uint32_t height, bool (*ink)(int x, int y));

std::vector<SampleFile> SampleDataFiles();
std::vector<SampleFile> SampleLabelFiles();
std::vector<SampleFile> SampleSymbols();
std::vector<uint8_t> SampleFirmware();

}  // namespace qv7::virtualprinter

#endif
