#include "StoredNames.h"

#include "PrinterFolder.h"

namespace qv7::virtualprinter {

namespace {

constexpr uint32_t kDatabaseNameOffset = 15;
constexpr uint32_t kDatabaseNameWidth = 9;

}  // namespace

std::string DatabaseNameOf(const uint8_t* bytes, uint32_t size) {
    std::string name;
    for (uint32_t at = kDatabaseNameOffset; at < size && at < kDatabaseNameOffset + kDatabaseNameWidth; ++at) {
        if (bytes[at] < 0x20 || bytes[at] == 0x7F) break;
        if (name.size() < kLongestStoredName) name.push_back(static_cast<char>(bytes[at]));
    }
    return name;
}

std::string StoredNameFor(const std::string& typeName, uint32_t slotIndex, const uint8_t* bytes, uint32_t size) {
    const std::string number = SlotNumberText(slotIndex);
    if (typeName == "DAT") {
        const std::string name = DatabaseNameOf(bytes, size);
        // An all-blank name would read as an empty slot once the host trims it.
        if (name.find_first_not_of(' ') != std::string::npos) return name;
        return "Data" + number;
    }
    if (typeName == "MAP") return "Btmap" + number;
    if (typeName == "QV7") return "Label" + number;
    return typeName + number;
}

}  // namespace qv7::virtualprinter
