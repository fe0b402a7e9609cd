#include "PrinterFolder.h"

#include "AtomicFile.h"
#include "SettingLines.h"

namespace qv7::virtualprinter {

namespace fs = std::filesystem;

namespace {

constexpr char kNameSuffix[] = ".name";
constexpr char kDataSuffix[] = ".data";
// Hidden folders of a slot being stored: ".03.new" while it is written,
// ".03.ready" once both files are complete and only need moving into place.
constexpr char kStagingSuffix[] = ".new";
constexpr char kReadySuffix[] = ".ready";
// A slot file whose partner is missing is kept under a hidden name.
constexpr char kUnpairedSuffix[] = ".unpaired";

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

bool PrinterFolder::Load(PrinterState* state, std::string* error, Mending mending) const {
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

    if (!LoadNames(loaded.description, mending, &loaded.names, &loaded.notices, error)) return false;
    *state = std::move(loaded);
    return true;
}

bool PrinterFolder::LoadNames(const PrinterDescription& description, Mending mending,
                              std::vector<std::vector<std::string>>* names, std::vector<std::string>* notices,
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
        if (!FinishStoredSlots(type, mending, notices, error)) return false;
        if (!LoadTypeNames(type, mending, &names->back(), notices, error)) return false;
    }
    return true;
}

bool PrinterFolder::LoadTypeNames(const FileTypeDescription& type, Mending mending, std::vector<std::string>* names,
                                  std::vector<std::string>* notices, std::string* error) const {
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
            // Half a slot, as a failed store of an earlier version left it: the
            // slot reads empty, and the half is set aside where it is out of
            // the way but not lost.
            const std::string half = number + (hasName[slot] ? kNameSuffix : kDataSuffix);
            const std::string missing = number + (hasName[slot] ? kDataSuffix : kNameSuffix);
            const std::string aside = "." + half + kUnpairedSuffix;
            if (mending == Mending::Report) {
                notices->push_back(where + half + " has no " + missing +
                                   "; the slot reads empty and the next connection keeps the file as " + where +
                                   aside);
                continue;
            }
            std::error_code failed;
            fs::rename(folder / half, folder / aside, failed);
            notices->push_back(where + half + " has no " + missing + "; the slot reads empty" +
                               (failed ? std::string() : " and the file is kept as " + where + aside));
            continue;
        }
        if (!hasName[slot]) continue;
        std::string content;
        if (!ReadTextFile(SlotNamePath(type.name, slot), &content, error)) return false;
        if (!ParseStoredName(content, where + number + kNameSuffix, &(*names)[slot], error)) return false;
    }
    return true;
}

namespace {

bool ReadStoredImage(const fs::path& path, uint32_t largest, ByteImage* image, uint64_t* size, std::string* error) {
    std::error_code failure;
    if (!fs::exists(path, failure)) {
        *size = 0;
        image->Release();
        return image->Allocate(0);
    }
    return ReadImageFile(path, largest, image, size, error);
}

}  // namespace

bool PrinterFolder::ReadSlot(const std::string& typeName, uint32_t slotIndex, uint32_t largest, ByteImage* image,
                             uint64_t* size, std::string* error) const {
    return ReadStoredImage(SlotDataPath(typeName, slotIndex), largest, image, size, error);
}

bool PrinterFolder::ReadFirmware(uint32_t largest, ByteImage* image, uint64_t* size, std::string* error) const {
    return ReadStoredImage(FirmwarePath(), largest, image, size, error);
}

bool PrinterFolder::SaveSlot(const std::string& typeName, uint32_t slotIndex, const std::string& name,
                             const uint8_t* bytes, uint32_t size, std::string* error) const {
    const fs::path folder = TypeFolder(typeName);
    const std::string number = SlotNumberText(slotIndex);
    const fs::path staging = folder / ("." + number + kStagingSuffix);
    const fs::path ready = folder / ("." + number + kReadySuffix);
    std::error_code failure;
    fs::create_directories(folder, failure);
    // A store that completed but was never moved into place goes first, so
    // the new one lands on top of it.
    if (!failure && !MoveStagedSlotIntoPlace(typeName, slotIndex, error)) return false;
    if (!failure) fs::remove_all(staging, failure);
    if (!failure) fs::create_directory(staging, failure);
    if (failure) {
        *error = folder.string() + ": " + failure.message();
        return false;
    }
    const std::string nameLine = name + "\n";
    const bool written =
        WriteFileAtomically(staging / (number + kDataSuffix), bytes, size, error) &&
        WriteFileAtomically(staging / (number + kNameSuffix), nameLine.data(), nameLine.size(), error);
    if (!written) {
        fs::remove_all(staging, failure);
        return false;
    }
    fs::rename(staging, ready, failure);
    if (failure) {
        *error = ready.string() + ": " + failure.message();
        fs::remove_all(staging, failure);
        return false;
    }
    return MoveStagedSlotIntoPlace(typeName, slotIndex, error);
}

// Moves a complete staged slot into place. Each step can be repeated, so a
// process that ends halfway leaves it for the next to finish.
bool PrinterFolder::MoveStagedSlotIntoPlace(const std::string& typeName, uint32_t slotIndex,
                                            std::string* error) const {
    const fs::path ready = TypeFolder(typeName) / ("." + SlotNumberText(slotIndex) + kReadySuffix);
    std::error_code failure;
    if (!fs::is_directory(ready, failure)) return true;
    for (const fs::path& target : {SlotDataPath(typeName, slotIndex), SlotNamePath(typeName, slotIndex)}) {
        const fs::path staged = ready / target.filename();
        if (!fs::exists(staged, failure)) continue;
        fs::rename(staged, target, failure);
        if (failure) {
            *error = target.string() + ": " + failure.message();
            return false;
        }
    }
    fs::remove(ready, failure);
    return true;
}

bool PrinterFolder::FinishStoredSlots(const FileTypeDescription& type, Mending mending,
                                      std::vector<std::string>* notices, std::string* error) const {
    std::error_code failure;
    std::vector<uint32_t> complete;
    const fs::path folder = TypeFolder(type.name);
    if (!fs::is_directory(folder, failure)) return true;
    for (fs::directory_iterator entry(folder, failure), end; !failure && entry != end; entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        uint32_t slotIndex = 0;
        if (name.size() > sizeof kReadySuffix && IsHiddenName(name) && EndsWith(name, kReadySuffix) &&
            SlotIndexOf(name.substr(1, name.size() - sizeof kReadySuffix), type.slotCount, &slotIndex)) {
            complete.push_back(slotIndex);
        }
    }
    for (uint32_t slotIndex : complete) {
        if (mending == Mending::Report) {
            notices->push_back("slots/" + type.name + "/." + SlotNumberText(slotIndex) + kReadySuffix +
                               " holds a complete store of slot " + SlotNumberText(slotIndex) +
                               "; the next connection moves it into place");
        } else if (!MoveStagedSlotIntoPlace(type.name, slotIndex, error)) {
            return false;
        }
    }
    return true;
}

bool PrinterFolder::SaveFirmware(const uint8_t* bytes, uint32_t size, std::string* error) const {
    return WriteFileAtomically(FirmwarePath(), bytes, size, error);
}

}  // namespace qv7::virtualprinter
