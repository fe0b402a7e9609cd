#include "VirtualPrinterDevice.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "LittleEndian.h"
#include "PrinterSeed.h"
#include "StoredNames.h"

namespace qv7 {

std::unique_ptr<VirtualPrinter> VirtualPrinter::Open(const std::string& dir, std::string* error) {
    return virtualprinter::VirtualPrinterDevice::Load(dir, error);
}

VirtualPrinter::Inspection VirtualPrinter::Inspect(const std::string& dir) {
    using virtualprinter::FolderLock;
    using virtualprinter::PrinterFolder;
    Inspection inspection;
    if (dir.empty()) {
        inspection.reason = "no virtual printer folder given";
        return inspection;
    }
    auto lock = std::make_unique<FolderLock>();
    if (lock->Hold(dir, FolderLock::Making::Nothing) == FolderLock::Result::Busy) {
        inspection.outcome = Inspection::Outcome::Busy;
        return inspection;
    }
    if (PrinterFolder(virtualprinter::AbsoluteFolderName(dir)).IsUnseeded()) {
        inspection.outcome = Inspection::Outcome::NotYetAPrinter;
        return inspection;
    }
    auto printer = virtualprinter::VirtualPrinterDevice::Load(dir, &inspection.reason, PrinterFolder::Mending::Report);
    if (!printer) return inspection;
    inspection.outcome = Inspection::Outcome::Printer;
    inspection.wouldMend = printer->Notices();
    printer->KeepHold(std::move(lock));
    inspection.printer = std::move(printer);
    return inspection;
}

}  // namespace qv7

namespace qv7::virtualprinter {

namespace {

// What an old firmware answers for every slot, trailing blank included.
constexpr char kOldFirmwareName[] = "Blank40 ";

}  // namespace

std::string AbsoluteFolderName(const std::string& dir) {
    std::error_code failure;
    std::filesystem::path path = std::filesystem::absolute(dir, failure);
    if (failure) path = dir;
    std::string name = path.lexically_normal().string();
    while (name.size() > 1 && name.back() == '/') name.pop_back();
    return name;
}

std::unique_ptr<VirtualPrinterDevice> VirtualPrinterDevice::Load(const std::string& dir, std::string* error,
                                                                  PrinterFolder::Mending mending) {
    std::string reason;
    if (dir.empty()) {
        *error = "no virtual printer folder given";
        return nullptr;
    }
    const std::string folderName = AbsoluteFolderName(dir);
    PrinterFolder folder(folderName);
    PrinterState state;
    const bool seeding = mending == PrinterFolder::Mending::Mend && folder.IsUnseeded();
    const bool ready = (!seeding || SeedPrinter(folder, &reason)) && folder.Load(&state, &reason, mending);
    if (!ready) {
        *error = folderName + ": " + reason;
        return nullptr;
    }
    // A mistyped folder must not pass for the printer the user meant.
    if (seeding) std::fprintf(stderr, "virtual printer: created a new virtual printer in %s\n", folderName.c_str());
    return std::unique_ptr<VirtualPrinterDevice>(
        new VirtualPrinterDevice(std::move(folder), std::move(state), folderName));
}

VirtualPrinterDevice::VirtualPrinterDevice(PrinterFolder folder, PrinterState state, std::string folderName)
    : folder_(std::move(folder)), state_(std::move(state)), folderName_(std::move(folderName)) {}

bool VirtualPrinterDevice::IsPresent() const {
    return !state_.faults.noDevice;
}

uint32_t VirtualPrinterDevice::DriverVersion() const {
    return state_.description.driverVersion;
}

bool VirtualPrinterDevice::IsSlot(uint16_t typeIndex, uint16_t slotIndex) const {
    return typeIndex < state_.description.types.size() &&
           slotIndex < state_.description.types[typeIndex].slotCount;
}

// ---- commands -----------------------------------------------------------------

bool VirtualPrinterDevice::TakeGiveCommand(const uint8_t* block, uint32_t length) {
    CommandBlock parsed;
    replyReady_ = false;
    if (!ParseCommandBlock(Channel::Give, block, length, &parsed)) return false;
    if (parsed.code == Command::GiveFile && !IsSlot(parsed.parameter1, parsed.parameter2)) return false;
    EndUnfinishedTransfers();
    return StartUpload(parsed);
}

bool VirtualPrinterDevice::TakeGetCommand(const uint8_t* block, uint32_t length) {
    CommandBlock parsed;
    replyReady_ = false;
    if (!ParseCommandBlock(Channel::Get, block, length, &parsed)) return false;
    switch (parsed.code) {
    case Command::GetFile:
    case Command::FileAttributes:
        if (!IsSlot(parsed.parameter1, parsed.parameter2)) return false;
        break;
    case Command::FileTypeAttributes:
    case Command::FileMax:
        if (parsed.parameter1 >= state_.description.types.size()) return false;
        break;
    default:
        break;
    }
    // The host asks nothing while bytes are on a pipe, so a command arriving
    // now means it gave up on the transfer.
    EndUnfinishedTransfers();
    if ((parsed.code == Command::GetFile || parsed.code == Command::GetFirmware) && !StartDownload(parsed)) {
        return false;
    }
    return PrepareReply(parsed);
}

bool VirtualPrinterDevice::PrepareReply(const CommandBlock& block) {
    reply_.fill(0);
    replyLength_ = LengthFieldOf(block.code);
    replyCode_ = static_cast<uint8_t>(block.code);
    switch (block.code) {
    case Command::GetFirmware:
    case Command::GetFile:
        WriteLittleEndian32(reply_.data(), download_.announced);
        break;
    case Command::FileTypes:
        WriteLittleEndian16(reply_.data(), static_cast<uint16_t>(state_.description.types.size()));
        break;
    case Command::FileTypeAttributes: {
        const std::string& name = state_.description.types[block.parameter1].name;
        std::memcpy(reply_.data(), name.data(), name.size());
        break;
    }
    case Command::FileMax:
        WriteLittleEndian16(reply_.data(), state_.description.types[block.parameter1].slotCount);
        break;
    case Command::FileAttributes: {
        const std::string& stored = state_.names[block.parameter1][block.parameter2];
        const std::string name = state_.faults.oldFirmware ? kOldFirmwareName : stored;
        std::memcpy(reply_.data(), name.data(), std::min(name.size(), kLongestStoredName));
        break;
    }
    case Command::FileStatus:
        WriteLittleEndian16(reply_.data(), StatusWord());
        break;
    case Command::GiveFirmware:
    case Command::GiveFile:
        return false;
    }
    replyReady_ = true;
    return true;
}

uint32_t VirtualPrinterDevice::ReadReply(uint8_t* out, uint32_t capacity) {
    if (!replyReady_) return 0;
    replyReady_ = false;
    const uint32_t faulted = state_.faults.replySize[replyCode_];
    const uint32_t given = faulted == kNoReplySizeFault ? replyLength_ : faulted;
    if (out) std::memcpy(out, reply_.data(), std::min({given, capacity, kReplyCapacity}));
    return given;
}

// ---- status word --------------------------------------------------------------

uint16_t VirtualPrinterDevice::StatusWord() {
    uint16_t status = 0;
    if (upload_.isFile) {
        if (upload_.phase == Phase::Moving || upload_.phase == Phase::Settling) status |= 0x0001;
        if (upload_.phase == Phase::Settled && upload_.failed) status |= 0x0002;
    }
    if (download_.isFile) {
        if (download_.phase == Phase::Moving || download_.phase == Phase::Settling) status |= 0x0004;
        if (download_.phase == Phase::Settled && download_.failed) status |= 0x0008;
    }

    const bool stuck[] = {state_.faults.uploadBusyForever, state_.faults.downloadBusyForever};
    Transfer* transfers[] = {&upload_, &download_};
    for (int i = 0; i < 2; ++i) {
        Transfer& transfer = *transfers[i];
        if (transfer.phase != Phase::Settling || stuck[i]) continue;
        if (--transfer.settlePollsLeft == 0) transfer.phase = Phase::Settled;
    }
    return status;
}

void VirtualPrinterDevice::BeginSettling(Transfer& transfer, bool failed) {
    transfer.image.Release();
    transfer.position = 0;
    transfer.failed = failed;
    transfer.settlePollsLeft = kSettlePolls;
    transfer.phase = transfer.isFile ? Phase::Settling : Phase::Idle;
}

// A transfer the host stopped early stores nothing. The device does not call
// that a failure: the host already knows, from its own shortfall.
void VirtualPrinterDevice::EndUnfinishedTransfers() {
    if (upload_.phase == Phase::Moving) BeginSettling(upload_, state_.faults.uploadFails);
    if (download_.phase == Phase::Moving) BeginSettling(download_, state_.faults.downloadFails);
}

// ---- uploads (PIPE01) -----------------------------------------------------------

bool VirtualPrinterDevice::StartUpload(const CommandBlock& block) {
    if (block.payload > kLargestUpload) return false;
    Transfer incoming;
    incoming.isFile = block.code == Command::GiveFile;
    incoming.typeIndex = block.parameter1;
    incoming.slotIndex = block.parameter2;
    if (!incoming.image.Allocate(block.payload)) return false;
    upload_ = std::move(incoming);
    upload_.phase = Phase::Moving;
    // Nothing will come on the pipe; an empty file is not worth a slot.
    if (block.payload == 0) BeginSettling(upload_, state_.faults.uploadFails && upload_.isFile);
    return true;
}

uint32_t VirtualPrinterDevice::WriteBulk(const uint8_t* data, uint32_t length) {
    ++writeCalls_;
    if (upload_.phase != Phase::Moving || !data) return 0;
    uint32_t taken = std::min(length, upload_.image.size - upload_.position);
    if (writeCalls_ == state_.faults.shortWriteCall) taken = std::min(taken, state_.faults.shortWriteBytes);
    std::memcpy(upload_.image.bytes.get() + upload_.position, data, taken);
    upload_.position += taken;
    if (upload_.position == upload_.image.size) FinishUpload();
    return taken;
}

void VirtualPrinterDevice::FinishUpload() {
    const uint8_t* bytes = upload_.image.bytes.get();
    const uint32_t size = upload_.image.size;
    std::string ignored;
    if (!upload_.isFile) {
        // The host asks nothing after a firmware image: a folder that cannot
        // be written keeps the old image, as a printer whose flash failed would.
        folder_.SaveFirmware(bytes, size, &ignored);
        BeginSettling(upload_, false);
        return;
    }
    // A printer stuck taking the file in never gets as far as storing it.
    if (state_.faults.uploadFails || state_.faults.uploadBusyForever) {
        BeginSettling(upload_, state_.faults.uploadFails);
        return;
    }
    const std::string& typeName = state_.description.types[upload_.typeIndex].name;
    const std::string name = StoredNameFor(typeName, upload_.slotIndex, bytes, size);
    const bool saved = folder_.SaveSlot(typeName, upload_.slotIndex, name, bytes, size, &ignored);
    if (saved) state_.names[upload_.typeIndex][upload_.slotIndex] = name;
    BeginSettling(upload_, !saved);
}

// ---- downloads (PIPE00) ---------------------------------------------------------

bool VirtualPrinterDevice::StartDownload(const CommandBlock& block) {
    Transfer outgoing;
    outgoing.isFile = block.code == Command::GetFile;
    outgoing.typeIndex = block.parameter1;
    outgoing.slotIndex = block.parameter2;
    std::string ignored;
    uint64_t size = 0;
    // A file larger than any the printer takes in is told by its size alone:
    // the host refuses that size, and reading gigabytes first would serve no one.
    const bool read = outgoing.isFile
                          ? folder_.ReadSlot(state_.description.types[block.parameter1].name, block.parameter2,
                                             kLargestUpload, &outgoing.image, &size, &ignored)
                          : folder_.ReadFirmware(kLargestUpload, &outgoing.image, &size, &ignored);
    if (!read || size > UINT32_MAX) return false;
    outgoing.announced = static_cast<uint32_t>(size);
    download_ = std::move(outgoing);
    download_.phase = Phase::Moving;
    if (download_.announced == 0) BeginSettling(download_, state_.faults.downloadFails && download_.isFile);
    return true;
}

uint32_t VirtualPrinterDevice::ReadBulk(uint8_t* data, uint32_t length) {
    ++readCalls_;
    if (download_.phase != Phase::Moving || !data || download_.announced != download_.image.size) return 0;
    uint32_t given = std::min(length, download_.image.size - download_.position);
    if (readCalls_ == state_.faults.shortReadCall) given = std::min(given, state_.faults.shortReadBytes);
    std::memcpy(data, download_.image.bytes.get() + download_.position, given);
    download_.position += given;
    if (download_.position == download_.image.size) FinishDownload();
    return given;
}

void VirtualPrinterDevice::FinishDownload() {
    BeginSettling(download_, state_.faults.downloadFails && download_.isFile);
}

}  // namespace qv7::virtualprinter
