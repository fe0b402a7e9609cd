#include "PrinterFolder.h"

#include "AtomicFile.h"
#include "SettingLines.h"

namespace qv7::virtualprinter {

namespace fs = std::filesystem;

namespace {

constexpr char kNameSuffix[] = ".name";
constexpr char kDataSuffix[] = ".data";

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The slot index a slot file's name stands for, if it is one of ours.
bool SlotIndexOf(const std::string& stem, uint32_t slotCount, uint32_t* slotIndex) {
    uint32_t number = 0;
    if (!ParseNumber(stem, 1, slotCount, &number)) return false;
    if (SlotNumberText(number - 1) != stem) return false;  // "3" or "003" would shadow "03"
    *slotIndex = number - 1;
    return true;
}

// A stored name is the first line of its file, kept as written: trailing
// blanks are part of what some firmware reports, and readers must cope.
bool ParseStoredName(const std::string& content, const std::string& where, std::string* name, std::string* error) {
    std::string line = content.substr(0, content.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
        *error = where + " is empty (an empty slot has neither file)";
        return false;
    }
    if (line.size() > kLongestStoredName) {
        *error = where + ": stored name '" + line + "' is longer than 8 characters";
        return false;
    }
    for (unsigned char c : line) {
        if (c < 0x20 || c == 0x7F) {
            *error = where + ": stored name holds a control character";
            return false;
        }
    }
    *name = std::move(line);
    return true;
}

}  // namespace

std::string SlotNumberText(uint32_t slotIndex) {
    const uint32_t number = slotIndex + 1;
    return (number < 10 ? "0" : "") + std::to_string(number);
}

fs::path PrinterFolder::SlotNamePath(const std::string& typeName, uint32_t slotIndex) const {
    return TypeFolder(typeName) / (SlotNumberText(slotIndex) + kNameSuffix);
}

fs::path PrinterFolder::SlotDataPath(const std::string& typeName, uint32_t slotIndex) const {
    return TypeFolder(typeName) / (SlotNumberText(slotIndex) + kDataSuffix);
}

bool PrinterFolder::IsUnseeded() const {
    std::error_code failure;
    if (!fs::exists(root_, failure)) return true;
    if (!fs::is_directory(root_, failure)) return false;
    for (fs::directory_iterator entry(root_, failure), end; !failure && entry != end; entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        if (name != "faults.txt" && !IsHiddenName(name)) return false;
    }
    return !failure;
}

bool PrinterFolder::Load(PrinterState* state, std::string* error) const {
    std::error_code failure;
    if (!fs::is_directory(root_, failure)) {
        *error = "not a folder";
        return false;
    }

    PrinterState loaded;
    std::string text;
    if (!fs::exists(DescriptionPath(), failure)) {
        *error = "no printer.txt (only an empty folder is made into a new printer)";
        return false;
    }
    if (!ReadTextFile(DescriptionPath(), &text, error)) return false;
    if (!ParsePrinterDescription(text, &loaded.description, error)) {
        *error = "printer.txt " + *error;
        return false;
    }

    if (fs::exists(FaultsPath(), failure)) {
        if (!ReadTextFile(FaultsPath(), &text, error)) return false;
        if (!ParseFaults(text, &loaded.faults, error)) {
            *error = "faults.txt " + *error;
            return false;
        }
    }

    if (fs::exists(FirmwarePath(), failure) && !fs::is_regular_file(FirmwarePath(), failure)) {
        *error = "firmware.bin is not a file";
        return false;
    }

    if (!LoadNames(loaded.description, &loaded.names, error)) return false;
    *state = std::move(loaded);
    return true;
}

bool PrinterFolder::LoadNames(const PrinterDescription& description, std::vector<std::vector<std::string>>* names,
                              std::string* error) const {
    std::error_code failure;
    const fs::path slots = root_ / "slots";
    if (fs::exists(slots, failure)) {
        // A folder for a type the printer does not have is a typing mistake
        // whose files would silently vanish from the printer.
        for (fs::directory_iterator entry(slots, failure), end; !failure && entry != end; entry.increment(failure)) {
            const std::string name = entry->path().filename().string();
            if (IsHiddenName(name)) continue;
            bool known = false;
            for (const FileTypeDescription& type : description.types) known = known || type.name == name;
            std::error_code typeFailure;
            if (!known || !entry->is_directory(typeFailure)) {
                *error = "slots/" + name + " is not a folder of a type in printer.txt";
                return false;
            }
        }
        if (failure) {
            *error = "slots: " + failure.message();
            return false;
        }
    }

    names->clear();
    for (const FileTypeDescription& type : description.types) {
        names->emplace_back();
        if (!LoadTypeNames(type, &names->back(), error)) return false;
    }
    return true;
}

bool PrinterFolder::LoadTypeNames(const FileTypeDescription& type, std::vector<std::string>* names,
                                  std::string* error) const {
    names->assign(type.slotCount, std::string());
    const std::string where = "slots/" + type.name + "/";
    std::vector<bool> hasName(type.slotCount, false);
    std::vector<bool> hasData(type.slotCount, false);

    std::error_code failure;
    const fs::path folder = TypeFolder(type.name);
    if (!fs::exists(folder, failure)) return true;
    for (fs::directory_iterator entry(folder, failure), end; !failure && entry != end; entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        if (IsHiddenName(name)) continue;
        const bool isName = EndsWith(name, kNameSuffix);
        const bool isData = EndsWith(name, kDataSuffix);
        uint32_t slotIndex = 0;
        std::error_code typeFailure;
        static_assert(sizeof kNameSuffix == sizeof kDataSuffix, "one stem length for both slot files");
        const size_t stemLength = name.size() - (sizeof kNameSuffix - 1);
        if ((!isName && !isData) || !entry->is_regular_file(typeFailure) ||
            !SlotIndexOf(name.substr(0, stemLength), type.slotCount, &slotIndex)) {
            *error = where + name + " is not a slot file (01.name, 01.data ... up to " +
                     SlotNumberText(type.slotCount - 1u) + ")";
            return false;
        }
        (isName ? hasName : hasData)[slotIndex] = true;
    }
    if (failure) {
        *error = where + ": " + failure.message();
        return false;
    }

    for (uint32_t slot = 0; slot < type.slotCount; ++slot) {
        const std::string number = SlotNumberText(slot);
        if (hasName[slot] != hasData[slot]) {
            *error = where + number + (hasName[slot] ? ".name has no " + number + ".data"
                                                     : ".data has no " + number + ".name");
            return false;
        }
        if (!hasName[slot]) continue;
        std::string content;
        if (!ReadTextFile(SlotNamePath(type.name, slot), &content, error)) return false;
        if (!ParseStoredName(content, where + number + kNameSuffix, &(*names)[slot], error)) return false;
    }
    return true;
}

bool PrinterFolder::ReadSlot(const std::string& typeName, uint32_t slotIndex, ByteImage* image,
                             std::string* error) const {
    std::error_code failure;
    const fs::path data = SlotDataPath(typeName, slotIndex);
    if (!fs::exists(data, failure)) {
        image->Release();
        return image->Allocate(0);
    }
    return ReadImageFile(data, image, error);
}

bool PrinterFolder::ReadFirmware(ByteImage* image, std::string* error) const {
    std::error_code failure;
    if (!fs::exists(FirmwarePath(), failure)) {
        image->Release();
        return image->Allocate(0);
    }
    return ReadImageFile(FirmwarePath(), image, error);
}

bool PrinterFolder::SaveSlot(const std::string& typeName, uint32_t slotIndex, const std::string& name,
                             const uint8_t* bytes, uint32_t size, std::string* error) const {
    std::error_code failure;
    fs::create_directories(TypeFolder(typeName), failure);
    if (failure) {
        *error = TypeFolder(typeName).string() + ": " + failure.message();
        return false;
    }
    const std::string nameLine = name + "\n";
    return WriteFileAtomically(SlotDataPath(typeName, slotIndex), bytes, size, error) &&
           WriteFileAtomically(SlotNamePath(typeName, slotIndex), nameLine.data(), nameLine.size(), error);
}

bool PrinterFolder::SaveFirmware(const uint8_t* bytes, uint32_t size, std::string* error) const {
    return WriteFileAtomically(FirmwarePath(), bytes, size, error);
}

}  // namespace qv7::virtualprinter
