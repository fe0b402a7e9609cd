// The driver seam over one virtual printer. The printer is loaded when the
// device is looked for, and that one instance answers the device handle and
// both pipes of the connection, so a transfer's command, bytes and status
// polls all meet the same device state.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Backends.h"
#include "FolderLock.h"
#include "QV7_Sys_API.h"
#include "TerminalSafeText.h"
#include "VirtualPrinterDevice.h"

namespace qv7 {

namespace {

using virtualprinter::FolderLock;
using virtualprinter::VirtualPrinterDevice;

class VirtualDriver final : public DeviceDriver {
public:
    explicit VirtualDriver(std::string dir) : dir_(std::move(dir)) {}
    // Over a printer already loaded, which holds the folder itself.
    explicit VirtualDriver(std::shared_ptr<VirtualPrinter> loaded) : loaded_(std::move(loaded)) {}

    FindResult FindDevice() override {
        printer_.reset();
        devicePath_.clear();
        heldElsewhere_ = false;
        if (loaded_) {
            printer_ = loaded_;
            if (!printer_->IsPresent()) return FindResult{FindStep::NoDevice, {}};
            devicePath_ = "virtual:" + printer_->Folder();
            return FindResult{FindStep::Found, devicePath_};
        }
        // The folder is held before it is read: another program's transfer
        // may be halfway through storing a slot.
        auto lock = std::make_unique<FolderLock>();
        if (!dir_.empty() && lock->Hold(dir_) == FolderLock::Result::Busy) {
            heldElsewhere_ = true;
            devicePath_ = "virtual:" + virtualprinter::AbsoluteFolderName(dir_);
            return FindResult{FindStep::Found, devicePath_};
        }
        lock_ = std::move(lock);
        std::string error;
        std::unique_ptr<VirtualPrinterDevice> loaded = VirtualPrinterDevice::Load(dir_, &error);
        if (!loaded) {
            // The library only knows "no device"; a folder typed by hand
            // deserves its reason somewhere the user can see it, but its
            // texts must not take over the terminal.
            std::fprintf(stderr, "virtual printer: %s\n", virtualprinter::TerminalSafeText(error).c_str());
            return FindResult{FindStep::NoDevice, {}};
        }
        for (const std::string& notice : loaded->Notices()) {
            std::fprintf(stderr, "virtual printer: %s: %s\n", virtualprinter::TerminalSafeText(loaded->Folder()).c_str(),
                         virtualprinter::TerminalSafeText(notice).c_str());
        }
        printer_ = std::move(loaded);
        if (!printer_->IsPresent()) return FindResult{FindStep::NoDevice, {}};
        devicePath_ = "virtual:" + printer_->Folder();
        return FindResult{FindStep::Found, devicePath_};
    }

    DriverHandle OpenDevice(const std::string& path) override {
        if (!printer_ || devicePath_.empty() || path != devicePath_) return nullptr;
        return &deviceTag_;
    }

    bool HeldElsewhere() const override { return heldElsewhere_; }

    bool Control(DriverHandle device, uint32_t controlCode, const uint8_t* input, uint32_t inputLength,
                 uint8_t* output, uint32_t outputLength, uint32_t* returned) override {
        *returned = 0;
        if (device != &deviceTag_ || !printer_) return false;
        switch (controlCode) {
        case IOCTL_GET_VERSION: {
            if (!output || outputLength < 4) return false;
            const uint32_t version = printer_->DriverVersion();
            for (int i = 0; i < 4; ++i) output[i] = static_cast<uint8_t>(version >> (8 * i));
            *returned = 4;
            return true;
        }
        case IOCTL_GIVE_COMMAND:
            return printer_->TakeGiveCommand(input, inputLength);
        case IOCTL_GET_COMMAND:
            if (!printer_->TakeGetCommand(input, inputLength)) return false;
            *returned = printer_->ReadReply(output, outputLength);
            return true;
        default:
            return false;
        }
    }

    DriverHandle OpenPipe(const std::string& pipePath, uint32_t* errorNumber) override {
        if (!printer_ || devicePath_.empty()) {
            *errorNumber = ENODEV;
            return nullptr;
        }
        if (pipePath == devicePath_ + "\\PIPE00") return &inPipeTag_;
        if (pipePath == devicePath_ + "\\PIPE01") return &outPipeTag_;
        *errorNumber = ENOENT;
        return nullptr;
    }

    void SetPipeTimeouts(DriverHandle, const PipeTimeouts&) override {}

    // The per-chunk path: a tag comparison and a direct call into the device.
    bool WritePipe(DriverHandle pipe, const uint8_t* data, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        if (pipe != &outPipeTag_) return false;
        *moved = printer_->WriteBulk(data, length);
        return true;
    }

    bool ReadPipe(DriverHandle pipe, uint8_t* data, uint32_t length, uint32_t* moved) override {
        *moved = 0;
        if (pipe != &inPipeTag_) return false;
        *moved = printer_->ReadBulk(data, length);
        return true;
    }

    // Handles are addresses inside this driver; there is nothing to free.
    void Close(DriverHandle) override {}

private:
    std::string dir_;
    std::shared_ptr<VirtualPrinter> loaded_;
    std::unique_ptr<FolderLock> lock_;
    std::shared_ptr<VirtualPrinter> printer_;
    bool heldElsewhere_ = false;
    std::string devicePath_;
    char deviceTag_ = 0;
    char inPipeTag_ = 0;
    char outPipeTag_ = 0;
};

}  // namespace

std::shared_ptr<DeviceDriver> MakeVirtualDriver(const std::string& dir) {
    return std::make_shared<VirtualDriver>(dir);
}

std::shared_ptr<DeviceDriver> MakeDriverOver(std::shared_ptr<VirtualPrinter> printer) {
    return std::make_shared<VirtualDriver>(std::move(printer));
}

}  // namespace qv7
