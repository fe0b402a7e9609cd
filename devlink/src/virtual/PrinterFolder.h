// The printer folder on disk:
//   printer.txt               driver version and file types (PrinterDescription)
//   faults.txt                optional, the faults in force (DeviceFaults)
//   firmware.bin              the firmware image; missing means an empty image
//   slots/<TYPE>/<NN>.name    stored name of slot NN (1-based, at least two digits), first line
//   slots/<TYPE>/<NN>.data    the stored file's bytes
// A slot is empty when it has neither file.
#ifndef QV7_VIRTUAL_PRINTER_FOLDER_H
#define QV7_VIRTUAL_PRINTER_FOLDER_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ByteImage.h"
#include "DeviceFaults.h"
#include "PrinterDescription.h"

namespace qv7::virtualprinter {

// The longest stored name the 9-byte reply record carries with its terminator.
constexpr size_t kLongestStoredName = 8;

struct PrinterState {
    PrinterDescription description;
    DeviceFaults faults;
    // names[type][slot index]; empty for an empty slot.
    std::vector<std::vector<std::string>> names;
    // What loading mended on the way, one line each, for the user to hear once.
    std::vector<std::string> notices;
};

class PrinterFolder {
public:
    explicit PrinterFolder(std::filesystem::path root) : root_(std::move(root)) {}

    const std::filesystem::path& Root() const { return root_; }

    // True when the folder is missing, or holds nothing but faults.txt and
    // hidden files: such a folder is seeded rather than refused.
    bool IsUnseeded() const;

    // A connection mends what an interrupted store left behind (a complete
    // store not yet moved into place, half a slot) as it loads the folder;
    // someone only looking is told of it in the notices instead.
    enum class Mending { Mend, Report };

    // Reads the description, the faults and every slot's name. The stored
    // bytes stay on disk until asked for.
    bool Load(PrinterState* state, std::string* error, Mending mending = Mending::Mend) const;

    // A slot's stored bytes (none for an empty slot) and their number. A file
    // larger than `largest` bytes is not read: only *size tells of it.
    bool ReadSlot(const std::string& typeName, uint32_t slotIndex, uint32_t largest, ByteImage* image,
                  uint64_t* size, std::string* error) const;
    bool ReadFirmware(uint32_t largest, ByteImage* image, uint64_t* size, std::string* error) const;

    // Name and bytes change together or not at all: both are written in full
    // into a hidden staging folder, which a rename then marks complete, and
    // only a complete one is moved into place (by Load, should the process
    // end halfway).
    bool SaveSlot(const std::string& typeName, uint32_t slotIndex, const std::string& name, const uint8_t* bytes,
                  uint32_t size, std::string* error) const;
    bool SaveFirmware(const uint8_t* bytes, uint32_t size, std::string* error) const;

    std::filesystem::path DescriptionPath() const { return root_ / "printer.txt"; }
    std::filesystem::path FaultsPath() const { return root_ / "faults.txt"; }
    std::filesystem::path FirmwarePath() const { return root_ / "firmware.bin"; }
    std::filesystem::path TypeFolder(const std::string& typeName) const { return root_ / "slots" / typeName; }
    std::filesystem::path SlotNamePath(const std::string& typeName, uint32_t slotIndex) const;
    std::filesystem::path SlotDataPath(const std::string& typeName, uint32_t slotIndex) const;

private:
    bool LoadNames(const PrinterDescription& description, Mending mending,
                   std::vector<std::vector<std::string>>* names, std::vector<std::string>* notices,
                   std::string* error) const;
    bool LoadTypeNames(const FileTypeDescription& type, Mending mending, std::vector<std::string>* names,
                       std::vector<std::string>* notices, std::string* error) const;
    bool FinishStoredSlots(const FileTypeDescription& type, Mending mending, std::vector<std::string>* notices,
                           std::string* error) const;
    bool MoveStagedSlotIntoPlace(const std::string& typeName, uint32_t slotIndex, std::string* error) const;

    std::filesystem::path root_;
};

// "01" for slot index 0: slot files and the names the device gives carry the
// 1-based slot number.
std::string SlotNumberText(uint32_t slotIndex);

}  // namespace qv7::virtualprinter

#endif
