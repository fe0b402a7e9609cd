#include "CPrinterService.h"

#include <QFile>
#include <QFileInfo>

#include "ProgressWindow.h"
#include "PromptPort.h"
#include "StringTable.h"

namespace quillory {

namespace {

constexpr uint16_t kMaxFileTypes = 256;

struct JobTexts {
    FileKind kind;
    TransferDirection direction;
    int windowTextId;
    int transferTextId;
    const char* nameSuffix;
    int failedId;
    int doneId;
};

constexpr JobTexts kJobs[] = {
    {FileKind::Data, TransferDirection::Receive, IDS_RECEIVE_DATA_INIT, IDS_RECEIVE_DATA, ".dat...",
     IDS_RECEIVE_DATA_FAILED, IDS_RECEIVE_DATA_DONE},
    {FileKind::Label, TransferDirection::Receive, IDS_RECEIVE_LABEL_INIT, IDS_RECEIVE_LABEL, ".qv7...",
     IDS_RECEIVE_LABEL_FAILED, IDS_RECEIVE_LABEL_DONE},
    {FileKind::Symbol, TransferDirection::Receive, IDS_RECEIVE_SYMBOL_INIT, IDS_RECEIVE_SYMBOL, ".bmp...",
     IDS_RECEIVE_SYMBOL_FAILED, IDS_RECEIVE_SYMBOL_DONE},
    {FileKind::Data, TransferDirection::Send, IDS_SEND_DATA_INIT, IDS_SEND_DATA, ".dat...", IDS_SEND_DATA_FAILED,
     IDS_SEND_DATA_DONE},
    {FileKind::Label, TransferDirection::Send, IDS_SEND_LABEL_INIT, IDS_SEND_LABEL, ".qv7...", IDS_SEND_LABEL_FAILED,
     IDS_SEND_LABEL_DONE},
    {FileKind::Symbol, TransferDirection::Send, IDS_SEND_SYMBOL_INIT, IDS_SEND_SYMBOL, ".bmp...",
     IDS_SEND_SYMBOL_FAILED, IDS_SEND_SYMBOL_DONE},
};

const JobTexts& JobFor(FileKind kind, TransferDirection direction) {
    for (const JobTexts& job : kJobs) {
        if (job.kind == kind && job.direction == direction) return job;
    }
    return kJobs[0];
}

// A data file carries its marker at a fixed offset; anything else is not one,
// and the printer is not bothered with it.
bool HasDataFileMarker(const QString& path) {
    // Opening a named pipe would wait for a writer.
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (!file.seek(kDataFileMarkerOffset)) return false;
    char marker = 0;
    return file.read(&marker, 1) == 1 && static_cast<unsigned char>(marker) == kDataFileMarker;
}

}  // namespace

TransferBusyGuard::TransferBusyGuard(CPrinterService& service)
    : service_(service), acquired_(service.transferInProgress == 0) {
    if (acquired_) service_.transferInProgress = 1;
}

TransferBusyGuard::~TransferBusyGuard() {
    if (!acquired_) return;
    service_.transferInProgress = 0;
    emit service_.transferEnded();
}

CPrinterService::CPrinterService(PromptPort& prompt, ProgressWindowFactory& progressWindows)
    : prompt_(prompt), progressWindows_(progressWindows) {}

CPrinterService::~CPrinterService() = default;

bool CPrinterService::RebuildCatalog() {
    catalogError_.clear();
    if (transferInProgress) return false;

    CQV7_Sys_API connection;
    // Every way out of a failed rebuild keeps the connection's reason for whoever reports it.
    auto failed = [&] {
        catalogError_ = QString::fromStdString(connection.GetError());
        return false;
    };
    if (connection.IsError()) return failed();
    uint16_t typeCount = 0;
    connection.GetFileTypes(&typeCount);
    if (connection.IsError()) return failed();
    // A type index travels as one byte: a printer with more types than that
    // would have type 256 read and written as type 0.
    if (typeCount > kMaxFileTypes) {
        catalogError_ = QStringLiteral("The printer reports %1 file types; at most %2 can be read.")
                            .arg(typeCount)
                            .arg(kMaxFileTypes);
        return false;
    }

    auto newData = std::make_unique<SlotList>();
    auto newLabels = std::make_unique<SlotList>();
    auto newSymbols = std::make_unique<SlotList>();

    for (uint16_t type = 0; type < typeCount; ++type) {
        uint16_t slotCount = 0;
        QV7_FILE_TYPE_ATTRIBUTES attributes{};
        connection.GetFileMax(type, &slotCount);
        connection.GetFileTypeAttributes(type, &attributes);
        if (connection.IsError()) return failed();

        const QString typeName = QString::fromLatin1(
            attributes.typeName, static_cast<qsizetype>(strnlen(attributes.typeName, sizeof attributes.typeName)));
        SlotList* list = nullptr;
        if (typeName == QLatin1String(KindInfo(FileKind::Data).typeName)) {
            list = newData.get();
        } else if (typeName == QLatin1String(KindInfo(FileKind::Label).typeName)) {
            list = newLabels.get();
        } else if (typeName == QLatin1String(KindInfo(FileKind::Symbol).typeName)) {
            list = newSymbols.get();
        }
        // Entry i of a list must be slot i + 1, so a kind the printer names
        // twice keeps its first type only.
        if (!list || !list->empty()) continue;

        // Slot numbers are 8-bit throughout the program: slots past 255 cannot be shown or reached.
        const unsigned lastSlot = slotCount < 255 ? slotCount : 255;
        list->reserve(lastSlot);
        for (unsigned slot = 1; slot <= lastSlot; ++slot) {
            CSlotEntry entry(static_cast<uint8_t>(type), typeName, static_cast<uint8_t>(slot));
            if (!entry.ReadName(connection, prompt_)) return failed();
            list->push_back(std::move(entry));
        }
    }

    dataSlots = std::move(newData);
    labelSlots = std::move(newLabels);
    symbolSlots = std::move(newSymbols);
    emit catalogChanged();
    return true;
}

const CPrinterService::SlotList* CPrinterService::ListOf(FileKind kind) const {
    switch (kind) {
    case FileKind::Data: return dataSlots.get();
    case FileKind::Label: return labelSlots.get();
    case FileKind::Symbol: return symbolSlots.get();
    }
    return nullptr;
}

const CSlotEntry* CPrinterService::GetSlot(FileKind kind, uint8_t slot) const {
    const SlotList* list = ListOf(kind);
    if (!list || slot == 0 || slot > list->size()) return nullptr;
    return &(*list)[slot - 1];
}

CSlotEntry* CPrinterService::GetSlot(FileKind kind, uint8_t slot) {
    return const_cast<CSlotEntry*>(static_cast<const CPrinterService*>(this)->GetSlot(kind, slot));
}

QString CPrinterService::GetFileName(FileKind kind, uint8_t slot) const {
    const CSlotEntry* entry = GetSlot(kind, slot);
    return entry ? entry->fileName : QString();
}

int32_t CPrinterService::IsSlotValid(FileKind kind, uint8_t slot) const {
    const CSlotEntry* entry = GetSlot(kind, slot);
    return entry ? entry->valid : 0;
}

uint8_t CPrinterService::GetSlotCount(FileKind kind) const {
    const SlotList* list = ListOf(kind);
    return list ? static_cast<uint8_t>(list->size()) : 0;
}

bool CPrinterService::Transfer(FileKind kind, TransferDirection direction, uint8_t slot, const QString& path,
                               QWidget* parent) {
    TransferBusyGuard busy(*this);
    if (!busy.acquired()) return false;
    return RunJob(kind, direction, slot, path, parent);
}

bool CPrinterService::Transfer(const TransferBusyGuard& busy, FileKind kind, TransferDirection direction,
                               uint8_t slot, const QString& path, QWidget* parent) {
    if (!busy.Holds(*this)) return false;
    return RunJob(kind, direction, slot, path, parent);
}

bool CPrinterService::RunJob(FileKind kind, TransferDirection direction, uint8_t slot, const QString& path,
                             QWidget* parent) {
    transferError_.clear();
    const bool sending = direction == TransferDirection::Send;
    if (sending && kind == FileKind::Data && !HasDataFileMarker(path)) return false;

    CSlotEntry* entry = GetSlot(kind, slot);
    if (!entry) return false;

    const JobTexts& job = JobFor(kind, direction);
    const QString transferText = LoadString(job.transferTextId) + entry->fileName + QLatin1String(job.nameSuffix);
    std::unique_ptr<ProgressWindow> window =
        progressWindows_.Create(LoadString(job.windowTextId), transferText, parent);
    window->Open();

    const bool succeeded =
        sending ? entry->SendFile(path, TransferProgress, prompt_, &transferError_)
                : entry->ReceiveFile(path, TransferProgress, &transferError_);

    window->Close();
    return succeeded;
}

bool CPrinterService::ReceiveDataFile(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Data, TransferDirection::Receive, slot, path, parent);
}

bool CPrinterService::ReceiveLabelFile(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Label, TransferDirection::Receive, slot, path, parent);
}

bool CPrinterService::ReceiveSymbol(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Symbol, TransferDirection::Receive, slot, path, parent);
}

bool CPrinterService::SendDataFile(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Data, TransferDirection::Send, slot, path, parent);
}

bool CPrinterService::SendLabelFile(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Label, TransferDirection::Send, slot, path, parent);
}

bool CPrinterService::SendSymbol(uint8_t slot, const QString& path, QWidget* parent) {
    return Transfer(FileKind::Symbol, TransferDirection::Send, slot, path, parent);
}

void ShowTransferResult(PromptPort& prompt, FileKind kind, TransferDirection direction, bool succeeded) {
    const JobTexts& job = JobFor(kind, direction);
    if (succeeded) {
        prompt.ShowMessage(LoadString(job.doneId), MessageIcon::Information, MessageButtons::Ok);
    } else {
        prompt.ShowMessage(LoadString(job.failedId), MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

}  // namespace quillory
