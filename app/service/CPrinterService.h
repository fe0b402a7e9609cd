// The program's picture of the printer (one list of slots per file kind) and
// the six single-file transfer jobs, with the busy flag that keeps two
// transfers from overlapping.
#ifndef QUILLORY_CPRINTERSERVICE_H
#define QUILLORY_CPRINTERSERVICE_H

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "CSlotEntry.h"
#include "FileKind.h"

class QWidget;

namespace quillory {

class PromptPort;
class ProgressWindowFactory;
class SettingsStore;
class SlotDialogPort;
class TransferBusyGuard;

enum class TransferDirection { Receive, Send };

class CPrinterService : public QObject {
    Q_OBJECT
public:
    CPrinterService(PromptPort& prompt, ProgressWindowFactory& progressWindows);
    ~CPrinterService() override;

    // Reads the whole catalogue afresh; replaces all three lists, or none.
    // Refused while a transfer runs: it would talk to the printer mid-transfer.
    // Whoever started it, a successful rebuild announces catalogChanged.
    bool RebuildCatalog();
    // Why the last rebuild failed, in the device link's words; empty when it
    // did not fail at the printer (an old firmware was refused, a transfer ran).
    const QString& CatalogError() const { return catalogError_; }
    // Why the last transfer failed in the device link's words, where the
    // program's own message does not show them: a failed get, or a printer
    // that could not be reached for a send. Empty otherwise.
    const QString& TransferError() const { return transferError_; }

    QString GetDataFileName(uint8_t slot) const { return GetFileName(FileKind::Data, slot); }
    QString GetLabelFileName(uint8_t slot) const { return GetFileName(FileKind::Label, slot); }
    QString GetSymbolFileName(uint8_t slot) const { return GetFileName(FileKind::Symbol, slot); }
    int32_t IsDataSlotValid(uint8_t slot) const { return IsSlotValid(FileKind::Data, slot); }
    int32_t IsLabelSlotValid(uint8_t slot) const { return IsSlotValid(FileKind::Label, slot); }
    int32_t IsSymbolSlotValid(uint8_t slot) const { return IsSlotValid(FileKind::Symbol, slot); }
    CSlotEntry* GetDataSlot(uint8_t slot) { return GetSlot(FileKind::Data, slot); }
    CSlotEntry* GetLabelSlot(uint8_t slot) { return GetSlot(FileKind::Label, slot); }
    CSlotEntry* GetSymbolSlot(uint8_t slot) { return GetSlot(FileKind::Symbol, slot); }
    uint8_t GetDataSlotCount() const { return GetSlotCount(FileKind::Data); }
    uint8_t GetLabelSlotCount() const { return GetSlotCount(FileKind::Label); }

    // The same, for a kind chosen at run time. Out of range (no list yet,
    // slot 0, slot past the list) reads as empty, 0 or null.
    QString GetFileName(FileKind kind, uint8_t slot) const;
    int32_t IsSlotValid(FileKind kind, uint8_t slot) const;
    CSlotEntry* GetSlot(FileKind kind, uint8_t slot);
    const CSlotEntry* GetSlot(FileKind kind, uint8_t slot) const;
    uint8_t GetSlotCount(FileKind kind) const;

    // The six jobs: true when the file went across without an error.
    bool ReceiveDataFile(uint8_t slot, const QString& path, QWidget* parent);
    bool ReceiveLabelFile(uint8_t slot, const QString& path, QWidget* parent);
    bool ReceiveSymbol(uint8_t slot, const QString& path, QWidget* parent);
    bool SendDataFile(uint8_t slot, const QString& path, QWidget* parent);
    bool SendLabelFile(uint8_t slot, const QString& path, QWidget* parent);
    bool SendSymbol(uint8_t slot, const QString& path, QWidget* parent);
    bool Transfer(FileKind kind, TransferDirection direction, uint8_t slot, const QString& path, QWidget* parent);
    // A job inside an operation that already holds the busy flag for many
    // jobs (a file set): the guard it holds is the proof. False, with nothing
    // done, for a guard that was not acquired or belongs to another service.
    bool Transfer(const TransferBusyGuard& busy, FileKind kind, TransferDirection direction, uint8_t slot,
                  const QString& path, QWidget* parent);

    // The send and get commands: the slot dialog, then the job, then a box
    // with the outcome. The folder or path is stored only after OK. A send
    // is true only when the job succeeded. Refused without a word while a
    // transfer runs: a dialog opened from inside its event pump would hold
    // the transfer until answered.
    void OnGetFile(FileKind kind, SlotDialogPort& dialogs, SettingsStore& settings, QWidget* parent);
    // An empty path starts the dialog from the kind's stored upload path.
    bool OnSendFile(FileKind kind, SlotDialogPort& dialogs, SettingsStore& settings, QWidget* parent,
                    const QString& path);

    bool IsTransferInProgress() const { return transferInProgress != 0; }

    PromptPort& prompt() const { return prompt_; }
    ProgressWindowFactory& progressWindows() const { return progressWindows_; }

signals:
    // The lists were replaced: every CSlotEntry handed out before is gone.
    void catalogChanged();
    // The operation that held the busy flag let it go.
    void transferEnded();

private:
    friend class TransferBusyGuard;

    using SlotList = std::vector<CSlotEntry>;

    const SlotList* ListOf(FileKind kind) const;
    bool RunJob(FileKind kind, TransferDirection direction, uint8_t slot, const QString& path, QWidget* parent);

    PromptPort& prompt_;
    ProgressWindowFactory& progressWindows_;
    std::unique_ptr<SlotList> dataSlots;
    std::unique_ptr<SlotList> labelSlots;
    std::unique_ptr<SlotList> symbolSlots;
    int32_t transferInProgress = 0;
    QString catalogError_;
    QString transferError_;
};

// Marks one transfer operation (a job, a file set, a firmware run) for its
// whole life: taken only when no other transfer runs, and let go on every way
// out. Whatever holds it may talk to the printer and pump events.
class TransferBusyGuard {
public:
    explicit TransferBusyGuard(CPrinterService& service);
    ~TransferBusyGuard();
    TransferBusyGuard(const TransferBusyGuard&) = delete;
    TransferBusyGuard& operator=(const TransferBusyGuard&) = delete;

    // False when another transfer already ran: the operation must not start.
    bool acquired() const { return acquired_; }
    bool Holds(const CPrinterService& service) const { return acquired_ && &service_ == &service; }

private:
    CPrinterService& service_;
    bool acquired_;
};

// Shows how a job ended, as the commands that start jobs do: the kind's
// success text with the information icon, or its failure text with the
// exclamation icon.
void ShowTransferResult(PromptPort& prompt, FileKind kind, TransferDirection direction, bool succeeded);

// The marker byte at offset 14 that every printer data file carries.
constexpr int kDataFileMarkerOffset = 14;
constexpr unsigned char kDataFileMarker = 0xA5;

}  // namespace quillory

#endif
