#include "SampleFiles.h"

namespace qv7::virtualprinter {

namespace {

// The host moves label files as opaque bytes; these carry a short binary
// header and a readable description so that a fetched one is recognisable.
std::vector<uint8_t> LabelFile(const std::string& body) {
    std::vector<uint8_t> file = {'Q', 'V', '7', 'L', 0x02, 0x00};
    file.push_back(static_cast<uint8_t>(body.size()));
    file.push_back(static_cast<uint8_t>(body.size() >> 8));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace

std::vector<SampleFile> SampleLabelFiles() {
    std::vector<SampleFile> files;
    files.push_back({0, LabelFile("LABEL \"Shelf price\"\r\n"
                                  "SIZE 50 30\r\n"
                                  "TEXT 2 2 FONT 1 \"FRESH MARKET\"\r\n"
                                  "FIELD 2 8 FONT 2 DAT PRICES 2\r\n"
                                  "FIELD 30 16 FONT 4 DAT PRICES 3\r\n"
                                  "BARCODE EAN13 2 20 DAT PRICES 5\r\n"
                                  "END\r\n")});
    files.push_back({1, LabelFile("LABEL \"Bin tag\"\r\n"
                                  "SIZE 60 25\r\n"
                                  "FIELD 2 2 FONT 3 DAT STOCK 1\r\n"
                                  "FIELD 2 10 FONT 1 DAT STOCK 2\r\n"
                                  "FIELD 40 10 FONT 1 DAT STOCK 4\r\n"
                                  "SYMBOL 48 2 MAP 4\r\n"
                                  "END\r\n")});
    files.push_back({3, LabelFile("LABEL \"Name badge\"\r\n"
                                  "SIZE 80 50\r\n"
                                  "SYMBOL 2 2 MAP 1\r\n"
                                  "FIELD 22 6 FONT 4 DAT STAFF 1\r\n"
                                  "FIELD 22 22 FONT 2 DAT STAFF 2\r\n"
                                  "FRAME 0 0 80 50\r\n"
                                  "END\r\n")});
    return files;
}

}  // namespace qv7::virtualprinter
