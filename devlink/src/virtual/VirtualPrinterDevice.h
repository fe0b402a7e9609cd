// The virtual printer itself: answers command blocks, moves bulk bytes and
// keeps the file status word, over a printer folder.
#ifndef QV7_VIRTUAL_PRINTER_DEVICE_H
#define QV7_VIRTUAL_PRINTER_DEVICE_H

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ByteImage.h"
#include "CommandBlock.h"
#include "FolderLock.h"
#include "PrinterFolder.h"
#include "qv7/VirtualPrinter.h"

namespace qv7::virtualprinter {

// Status polls for which a finished file transfer still reads busy.
constexpr uint32_t kSettlePolls = 2;
// The most one upload may announce: far above any label, symbol, data file or
// firmware image, and a guard against a size that is really a host bug.
constexpr uint32_t kLargestUpload = 16u * 1024 * 1024;

// The folder's absolute path, without a trailing separator: what the device
// path names.
std::string AbsoluteFolderName(const std::string& dir);

class VirtualPrinterDevice final : public VirtualPrinter {
public:
    // See VirtualPrinter::Open. The folder name in *error is absolute.
    // Reporting rather than mending, nothing is seeded either.
    static std::unique_ptr<VirtualPrinterDevice> Load(const std::string& dir, std::string* error,
                                                      PrinterFolder::Mending mending = PrinterFolder::Mending::Mend);

    bool IsPresent() const override;
    uint32_t DriverVersion() const override;
    bool TakeGiveCommand(const uint8_t* block, uint32_t length) override;
    bool TakeGetCommand(const uint8_t* block, uint32_t length) override;
    uint32_t ReadReply(uint8_t* out, uint32_t capacity) override;
    uint32_t WriteBulk(const uint8_t* data, uint32_t length) override;
    uint32_t ReadBulk(uint8_t* data, uint32_t length) override;

    const std::string& Folder() const override { return folderName_; }
    // What loading the folder mended, or would have (PrinterState::notices).
    const std::vector<std::string>& Notices() const { return state_.notices; }
    // Keeps the folder held for as long as this printer lives.
    void KeepHold(std::unique_ptr<FolderLock> lock) { lock_ = std::move(lock); }

private:
    enum class Phase {
        Idle,      // nothing to report
        Moving,    // bytes are on the pipe
        Settling,  // all bytes moved (or the host gave up); busy for a few more polls
        Settled,   // done; the failure bit tells how it ended
    };

    // One direction of bulk traffic. The image is the only copy of the file
    // in this process: filled or drained in place, released once it is done.
    struct Transfer {
        Phase phase = Phase::Idle;
        bool isFile = false;  // file transfers show in the status word; firmware ones do not
        uint16_t typeIndex = 0;
        uint16_t slotIndex = 0;
        ByteImage image;
        // The size the get commands announce: the image's, except for a file
        // too large for the printer to hold, which is announced but never read.
        uint32_t announced = 0;
        uint32_t position = 0;
        uint32_t settlePollsLeft = 0;
        bool failed = false;
    };

    VirtualPrinterDevice(PrinterFolder folder, PrinterState state, std::string folderName);

    bool IsSlot(uint16_t typeIndex, uint16_t slotIndex) const;
    void EndUnfinishedTransfers();
    void BeginSettling(Transfer& transfer, bool failed);
    bool StartUpload(const CommandBlock& block);
    bool StartDownload(const CommandBlock& block);
    void FinishUpload();
    void FinishDownload();
    bool PrepareReply(const CommandBlock& block);
    uint16_t StatusWord();

    PrinterFolder folder_;
    PrinterState state_;
    std::string folderName_;
    std::unique_ptr<FolderLock> lock_;

    Transfer upload_;
    Transfer download_;
    uint32_t writeCalls_ = 0;
    uint32_t readCalls_ = 0;

    static constexpr uint32_t kReplyCapacity = 64;
    std::array<uint8_t, kReplyCapacity> reply_{};
    uint32_t replyLength_ = 0;
    uint8_t replyCode_ = 0;
    bool replyReady_ = false;
};

}  // namespace qv7::virtualprinter

#endif
