// The six send and get commands of the printer service.
#include "CPrinterService.h"
#include "SettingsStore.h"
#include "SlotDialogPort.h"

namespace quillory {

void CPrinterService::OnGetFile(FileKind kind, SlotDialogPort& dialogs, SettingsStore& settings, QWidget* parent) {
    if (IsTransferInProgress()) return;
    const char* setting = KindInfo(kind).downloadFolderSetting;
    GetFileForm form(*this, prompt_, kind, settings.GetProfileString(setting, SettingsStore::DefaultText(setting)));
    if (!dialogs.RunGetDialog(form, parent)) return;
    settings.WriteProfileString(setting, form.folder());

    const bool received = Transfer(kind, TransferDirection::Receive, form.chosenSlot(), form.destinationPath(), parent);
    ShowTransferResult(prompt_, kind, TransferDirection::Receive, received);
}

bool CPrinterService::OnSendFile(FileKind kind, SlotDialogPort& dialogs, SettingsStore& settings, QWidget* parent,
                                 const QString& path) {
    if (IsTransferInProgress()) return false;
    const char* setting = KindInfo(kind).uploadPathSetting;
    SendFileForm form(prompt_, kind, path.isEmpty() ? settings.GetProfileString(setting, QString()) : path);
    if (!dialogs.RunSendDialog(form, parent)) return false;
    settings.WriteProfileString(setting, form.sourcePath());

    const bool sent = Transfer(kind, TransferDirection::Send, form.chosenSlot(), form.sourcePath(), parent);
    ShowTransferResult(prompt_, kind, TransferDirection::Send, sent);
    return sent;
}

}  // namespace quillory
