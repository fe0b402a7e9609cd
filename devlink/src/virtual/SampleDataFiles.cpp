#include <algorithm>
#include <cstring>

#include "SampleFiles.h"

namespace qv7::virtualprinter {

namespace {

constexpr size_t kRecords = 100;
constexpr size_t kFields = 8;
constexpr size_t kFieldWidth = 33;
constexpr size_t kNameOffset = 15;
constexpr size_t kNameWidth = 9;
constexpr size_t kDateOffset = 24;
constexpr size_t kFieldsOffset = 36;
constexpr size_t kFieldCountsOffset = kFieldsOffset + kRecords * kFields * kFieldWidth;

void PutText(std::vector<uint8_t>& file, size_t offset, const std::string& text, size_t width) {
    std::memcpy(file.data() + offset, text.data(), std::min(text.size(), width));
}

// The printer stops a record's field count at its first empty field, and a
// full record counts 7.
uint8_t FieldCount(const std::vector<std::string>& record) {
    size_t count = 0;
    while (count < record.size() && count < kFields && !record[count].empty()) ++count;
    return static_cast<uint8_t>(std::min<size_t>(count, kFields - 1));
}

}  // namespace

std::vector<uint8_t> BuildDataFile(const std::string& databaseName, const std::string& date,
                                   const std::vector<std::vector<std::string>>& records) {
    std::vector<uint8_t> file(kDataFileSize, 0);
    file[13] = static_cast<uint8_t>(std::min(records.size(), kRecords));
    file[14] = 0xA5;
    PutText(file, kNameOffset, databaseName, kNameWidth);
    PutText(file, kDateOffset, date, 8);
    for (size_t record = 0; record < records.size() && record < kRecords; ++record) {
        for (size_t field = 0; field < records[record].size() && field < kFields; ++field) {
            PutText(file, kFieldsOffset + (record * kFields + field) * kFieldWidth, records[record][field],
                    kFieldWidth);
        }
        file[kFieldCountsOffset + record] = FieldCount(records[record]);
    }
    return file;
}

std::vector<SampleFile> SampleDataFiles() {
    const std::string date = "03/14/25";
    std::vector<SampleFile> files;
    files.push_back({0, BuildDataFile("PRICES", date,
                                      {
                                          {"1001", "Granny Smith apples", "1.89", "kg", "5012345678900"},
                                          {"1002", "Bananas", "1.29", "kg", "5012345678917"},
                                          {"1003", "Vine tomatoes", "2.49", "kg", "5012345678924"},
                                          {"1004", "Sourdough loaf 800g", "3.20", "each", "5012345678931"},
                                          {"1005", "Free range eggs x6", "2.15", "box", "5012345678948"},
                                          {"1006", "Whole milk 2l", "1.65", "each", "5012345678955"},
                                          {"1007", "Cheddar mature 400g", "4.10", "each", "5012345678962"},
                                          {"1008", "Ground coffee 250g", "5.75", "each", "5012345678979"},
                                      })});
    files.push_back({1, BuildDataFile("STOCK", date,
                                      {
                                          {"A-0101", "Hex bolt M6x30", "250", "Aisle 1", "Bin 4"},
                                          {"A-0102", "Hex nut M6", "1200", "Aisle 1", "Bin 5"},
                                          {"A-0215", "Washer 6mm zinc", "800", "Aisle 2", "Bin 1"},
                                          {"B-0310", "Wood screw 4x40", "540", "Aisle 3", "Bin 9"},
                                          {"B-0311", "Wall plug 6mm", "0", "Aisle 3", "Bin 10", "REORDER"},
                                          {"C-0007", "Cable tie 200mm", "3000", "Aisle 5", "Bin 2"},
                                      })});
    files.push_back({2, BuildDataFile("STAFF", date,
                                      {
                                          {"Ann Berg", "Packing", "Line 2", "07:00-15:30", "ext 214"},
                                          {"Carlos Duarte", "Dispatch", "Bay 1", "06:00-14:00", "ext 230"},
                                          {"Mei Lin Tan", "Quality", "Lab", "08:00-16:30", "ext 251"},
                                          {"Tom Okafor", "Goods in", "Bay 4", "14:00-22:00", "ext 233"},
                                      })});
    // A nine-character database name: the device keeps eight of it.
    files.push_back({4, BuildDataFile("SUPPLIERS", date,
                                      {
                                          {"Norbrook Foods", "01632 960123", "Leeds", "Net 30"},
                                          {"Harlow Fixings", "01632 960456", "Harlow", "Net 45"},
                                          {"Quayside Dairy", "01632 960789", "Hull", "Net 14"},
                                      })});
    return files;
}

}  // namespace qv7::virtualprinter
