// The program's one main window: the tree of the printer's files, the menu,
// the toolbar and the status bar. It keeps its placement in the settings,
// disables the commands a running transfer guards and refuses to close while
// a transfer runs.
#ifndef QUILLORY_CMAINFRAME_H
#define QUILLORY_CMAINFRAME_H

#include <QHash>
#include <QMainWindow>
#include <QPoint>
#include <QSet>

#include <functional>
#include <memory>

#include "CDataFileTable.h"
#include "CPrinterService.h"

class QLabel;
class QToolBar;

namespace quillory {

class FileSetOperations;
class FirmwareOperations;
class CPrinterService;
class CQV7View;
class CSystemImageList;
class FileChoicePort;
class FirmwareDialogChoice;
class PromptPort;
class SettingsStore;
class SlotDialogPort;
class SlotDialogs;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CPrinterService& service, SettingsStore& settings, CSystemImageList& imageList, PromptPort& prompt,
               FileChoicePort& files);
    // Stores the window's placement on the way out.
    ~CMainFrame() override;

    CQV7View* view() const { return view_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The action of a command id; null for an id the frame does not have.
    QAction* action(int commandId) const { return actions_.value(commandId); }

    // The firmware commands' operations, answered by the firmware dialogs.
    FirmwareOperations& firmware() const { return *firmware_; }

    // Runs a command as its menu item would: nothing happens while it is disabled.
    void SendCommand(int commandId);

    // The send and get commands' dialogs; the program's own unless replaced
    // (null puts them back).
    void SetSlotDialogs(SlotDialogPort* dialogs);

public slots:
    // Enables each command that has a handler, except those a running
    // transfer guards.
    void UpdateCommandStates();
    // The operation that held the busy flag has ended: the commands come
    // back, the tree is read if the printer was plugged in or out meanwhile,
    // and a close refused during it is told now.
    void OnTransferEnded();
    // The printer was plugged in or out: the tree is read afresh, once no
    // transfer has the printer.
    void OnPrinterPlugged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void PreCreateWindow();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateSlotMenus();
    void WriteFixedSymbolSettings();
    void ConnectHandlers();
    void Handle(int commandId, std::function<void()> handler);
    void SavePlacement();
    void UpdateKeyIndicators();
    void ShowRefreshProblems();
    void RefreshAfterPlugging();

    // Whether the printer's slots are known, for a command that lists or
    // fills them. After a failed read it reads once more; still without a
    // printer it says so plainly, rather than open a dialog with no slots
    // to choose from or report an empty set of files as received.
    bool PrinterConnected();
    // A send or get command of the File menu or the toolbar, with what follows it there.
    void RunSlotCommand(FileKind kind, TransferDirection direction);
    // A slot menu's Replace: the send command, and the tree read afresh
    // only when the file went across.
    void ReplaceSlotFile(FileKind kind);
    // The tree's symbol preview goes before a symbol command starts.
    void EraseSymbolPreview();
    void OnFileConvertCsv();
    void OnFileSendFileSet();
    void OnAppExit();
    void OnViewToolBar();
    void OnViewStatusBar();
    void OnHelpFinder();
    void OnAppAbout();

    CPrinterService& service_;
    SettingsStore& settings_;
    PromptPort& prompt_;
    FileChoicePort& files_;
    CQV7View* view_;
    QToolBar* toolBar_ = nullptr;
    QLabel* capsPane_ = nullptr;
    QLabel* numPane_ = nullptr;
    QLabel* scrollPane_ = nullptr;
    std::unique_ptr<SlotDialogs> ownSlotDialogs_;
    SlotDialogPort* slotDialogs_;
    CDataFileTable dataTable_;
    std::unique_ptr<FirmwareDialogChoice> firmwareDialogs_;
    std::unique_ptr<FirmwareOperations> firmware_;
    std::unique_ptr<FileSetOperations> fileSets_;
    QHash<int, QAction*> actions_;
    QSet<int> handled_;
    // How far the window's inside sits from its outer corner while shown
    // normally; turns the normal inside rectangle Qt keeps for a maximised
    // window back into the outer position the placement stores.
    QPoint normalFrameOffset_;
    // A close was refused during a transfer; the box saying so waits for the
    // end of the operation.
    bool closeRefusalPending_ = false;
    // The printer was plugged in or out and the tree is yet to be read; and
    // whether that read is under way (a box it shows lets more news in).
    bool plugRefreshPending_ = false;
    bool plugRefreshRunning_ = false;
};

}  // namespace quillory

#endif
