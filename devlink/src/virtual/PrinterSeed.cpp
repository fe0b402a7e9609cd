#include "PrinterSeed.h"

#include "AtomicFile.h"
#include "SampleFiles.h"
#include "StoredNames.h"

namespace qv7::virtualprinter {

namespace {

bool SeedType(const PrinterFolder& folder, const std::string& typeName, const std::vector<SampleFile>& files,
              std::string* error) {
    for (const SampleFile& file : files) {
        const uint32_t size = static_cast<uint32_t>(file.bytes.size());
        const std::string name = StoredNameFor(typeName, file.slotIndex, file.bytes.data(), size);
        if (!folder.SaveSlot(typeName, file.slotIndex, name, file.bytes.data(), size, error)) return false;
    }
    return true;
}

}  // namespace

bool SeedPrinter(const PrinterFolder& folder, std::string* error) {
    std::error_code failure;
    std::filesystem::create_directories(folder.Root(), failure);
    if (failure) {
        *error = "cannot be made: " + failure.message();
        return false;
    }

    PrinterDescription description;
    description.driverVersion = 3;
    description.types = {{"DAT", 16}, {"QV7", 30}, {"MAP", 10}};

    if (!SeedType(folder, "DAT", SampleDataFiles(), error)) return false;
    if (!SeedType(folder, "QV7", SampleLabelFiles(), error)) return false;
    if (!SeedType(folder, "MAP", SampleSymbols(), error)) return false;
    const std::vector<uint8_t> firmware = SampleFirmware();
    if (!folder.SaveFirmware(firmware.data(), static_cast<uint32_t>(firmware.size()), error)) return false;

    const std::string text = FormatPrinterDescription(description);
    return WriteFileAtomically(folder.DescriptionPath(), text.data(), text.size(), error);
}

}  // namespace qv7::virtualprinter
