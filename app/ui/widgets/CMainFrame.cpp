#include "CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <utility>

#include "AppIcons.h"
#include "AboutBox.h"
#include "FileSetOperations.h"
#include "FirmwareOperations.h"
#include "CPrinterService.h"
#include "CQV7View.h"
#include "CsvConversion.h"
#include "FileChoicePort.h"
#include "FileSetDialogs.h"
#include "FirmwareDialogChoice.h"
#include "FrameCommands.h"
#include "KeyLockState.h"
#include "PlatformPaths.h"
#include "PromptPort.h"
#include "SaveAsCsvCommand.h"
#include "SettingsStore.h"
#include "SlotDialogs.h"
#include "StringTable.h"
#include "WindowShowCommand.h"
#include "qv7/DeviceDriver.h"

namespace quillory {

namespace {

const char kNoPrinterStatus[] = "No printer found: ";
const char kCsvChoiceTitle[] = "Select CSV file to convert.";
const char kCsvFilter[] = "Comma-seperated value files (*.csv)|*.csv||";
const char kCsvExtension[] = "csv";
const char kTargetChoiceTitle[] = "Select target DAT file.";
const char kTargetFilter[] = "QV7 data files (*.dat)|*.dat||";
const char kTargetExtension[] = "dat";

constexpr int kToolBarImageSize = 24;  // in 32 by 32 buttons

QString Prompt(int commandId) {
    return LoadString(commandId).section(QLatin1Char('\n'), 0, 0);
}

QString ToolTip(int commandId) {
    return LoadString(commandId).section(QLatin1Char('\n'), 1, 1);
}

QLabel* IndicatorPane(const QString& text, QWidget* parent) {
    auto* pane = new QLabel(parent);
    pane->setAlignment(Qt::AlignCenter);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setText(text);
    pane->setFixedWidth(pane->fontMetrics().horizontalAdvance(text) + 2 * pane->frameWidth() + 6);
    return pane;
}

}  // namespace

CMainFrame::CMainFrame(CPrinterService& service, SettingsStore& settings, CSystemImageList& imageList,
                       PromptPort& prompt, FileChoicePort& files)
    : service_(service),
      settings_(settings),
      prompt_(prompt),
      files_(files),
      view_(new CQV7View(service, settings, imageList, this)),
      ownSlotDialogs_(std::make_unique<SlotDialogs>(*view_, prompt, files)),
      slotDialogs_(ownSlotDialogs_.get()),
      firmwareDialogs_(std::make_unique<FirmwareDialogChoice>(prompt)),
      firmware_(std::make_unique<FirmwareOperations>(service, files, *firmwareDialogs_, &settings)),
      fileSets_(std::make_unique<FileSetOperations>(service)) {
    PreCreateWindow();

    setCentralWidget(view_);
    setFocusProxy(view_);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateSlotMenus();
    setWindowTitle(LoadString(IDS_APP_NAME));
    setWindowIcon(ApplicationIcon());
    WriteFixedSymbolSettings();

    ConnectHandlers();
    UpdateCommandStates();
    qApp->installEventFilter(this);
    UpdateKeyIndicators();
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    SavePlacement();
}

void CMainFrame::PreCreateWindow() {
    move(settings_.GetProfileInt(setting::kX, 0), settings_.GetProfileInt(setting::kY, 0));
    resize(settings_.GetProfileInt(setting::kWidth, kDefaultWindowWidth),
           settings_.GetProfileInt(setting::kHeight, kDefaultWindowHeight));
}

void CMainFrame::CreateActions() {
    auto add = [this](int id, const QString& text) {
        auto* action = new QAction(text, this);
        action->setStatusTip(Prompt(id));
        action->setToolTip(ToolTip(id).isEmpty() ? Prompt(id) : ToolTip(id));
        action->setIcon(CommandIcon(id));
        action->setIconVisibleInMenu(false);
        action->setData(id);
        actions_.insert(id, action);
        return action;
    };
    for (const MenuEntry& menu : MainMenu()) {
        for (const MenuItemEntry& item : menu.items) {
            if (item.id != kSeparator) add(item.id, QString::fromUtf8(item.text));
        }
    }
    for (const auto* slotMenu : {&DataSlotMenu(), &LabelSlotMenu(), &SymbolSlotMenu()}) {
        for (const MenuItemEntry& item : *slotMenu) add(item.id, QString::fromUtf8(item.text));
    }
    actions_[ID_VIEW_REFRESH]->setShortcut(Qt::Key_F5);
    actions_[ID_VIEW_TOOLBAR]->setCheckable(true);
    actions_[ID_VIEW_STATUS_BAR]->setCheckable(true);

    // Help for the current context (F1) and context help mode (Shift+F1) have
    // no menu item; they live on the window as accelerators.
    addAction(add(ID_HELP, QString()));
    actions_[ID_HELP]->setShortcut(Qt::Key_F1);
    addAction(add(ID_CONTEXT_HELP, QString()));
    actions_[ID_CONTEXT_HELP]->setShortcut(Qt::SHIFT | Qt::Key_F1);
    // Restoring firmware is for when support asks for it: no menu item or
    // button invites it, the keys below reach it, and the access code guards it.
    addAction(add(ID_FIRMWARE_RESTORE, ToolTip(ID_FIRMWARE_RESTORE)));
    actions_[ID_FIRMWARE_RESTORE]->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_R);
}

void CMainFrame::CreateMenus() {
    for (const MenuEntry& entry : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(entry.title));
        // The enabled states are settled again just before the user sees them.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
        for (const MenuItemEntry& item : entry.items) {
            if (item.id == kSeparator) {
                menu->addSeparator();
            } else {
                menu->addAction(actions_[item.id]);
            }
        }
    }
}

void CMainFrame::CreateSlotMenus() {
    const std::pair<FileKind, const std::vector<MenuItemEntry>*> menus[] = {
        {FileKind::Data, &DataSlotMenu()}, {FileKind::Label, &LabelSlotMenu()}, {FileKind::Symbol, &SymbolSlotMenu()}};
    for (const auto& [kind, items] : menus) {
        auto* menu = new QMenu(view_);
        for (const MenuItemEntry& item : *items) menu->addAction(actions_[item.id]);
        view_->SetSlotMenu(kind, menu);
    }
    view_->SetDroppedFileSender([this](FileKind kind, const QString& path) {
        return PrinterConnected() && service_.OnSendFile(kind, *slotDialogs_, settings_, this, path);
    });
}

void CMainFrame::CreateToolBar() {
    toolBar_ = new QToolBar(ToolTip(ID_VIEW_TOOLBAR), this);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(kToolBarImageSize, kToolBarImageSize));
    toolBar_->setMovable(true);
    toolBar_->setFloatable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    // Buttons side by side, as in a native toolbar: the whole bar then fits
    // the first window's width.
    toolBar_->layout()->setSpacing(0);
    for (int id : ToolbarButtons()) {
        if (id == kSeparator) {
            toolBar_->addSeparator();
        } else {
            toolBar_->addAction(actions_[id]);
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    actions_[ID_VIEW_TOOLBAR]->setChecked(true);
    connect(toolBar_, &QToolBar::visibilityChanged, actions_[ID_VIEW_TOOLBAR], &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    // The message pane shows the idle text whenever no prompt covers it.
    auto* messagePane = new QLabel(LoadString(IDS_IDLE_MESSAGE), bar);
    bar->addWidget(messagePane, 1);
    capsPane_ = IndicatorPane(LoadString(IDS_INDICATOR_CAPS), bar);
    numPane_ = IndicatorPane(LoadString(IDS_INDICATOR_NUM), bar);
    scrollPane_ = IndicatorPane(LoadString(IDS_INDICATOR_SCROLL), bar);
    for (QLabel* pane : {capsPane_, numPane_, scrollPane_}) bar->addPermanentWidget(pane);
    actions_[ID_VIEW_STATUS_BAR]->setChecked(true);
}

void CMainFrame::WriteFixedSymbolSettings() {
    // A symbol folder chosen in a dialog lasts until the next start only.
    // A value that holds its fixed one already is left alone: a write
    // rewrites the whole settings file and waits for the disk, which every
    // start would otherwise do before the tree is filled.
    const std::pair<const char*, QString> fixed[] = {
        {setting::kSymbolDownloadFolder, PlatformPaths::SymbolFolder()},
        {setting::kSymbolUploadPath, PlatformPaths::SymbolFolderWithSeparator()}};
    for (const auto& [name, value] : fixed) {
        if (settings_.GetProfileString(name, QString()) != value) settings_.WriteProfileString(name, value);
    }
}

void CMainFrame::Handle(int commandId, std::function<void()> handler) {
    connect(actions_[commandId], &QAction::triggered, this, std::move(handler));
    handled_.insert(commandId);
}

void CMainFrame::ConnectHandlers() {
    Handle(ID_FILE_CONVERT_CSV, [this] { OnFileConvertCsv(); });
    Handle(ID_APP_EXIT, [this] { OnAppExit(); });
    Handle(ID_VIEW_TOOLBAR, [this] { OnViewToolBar(); });
    Handle(ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); });
    Handle(ID_VIEW_REFRESH, [this] {
        view_->Refresh();
        ShowRefreshProblems();
    });
    Handle(ID_FILE_GET_DATA, [this] { RunSlotCommand(FileKind::Data, TransferDirection::Receive); });
    Handle(ID_FILE_GET_LABEL, [this] { RunSlotCommand(FileKind::Label, TransferDirection::Receive); });
    Handle(ID_FILE_GET_SYMBOL, [this] { RunSlotCommand(FileKind::Symbol, TransferDirection::Receive); });
    Handle(ID_FILE_SEND_DATA, [this] { RunSlotCommand(FileKind::Data, TransferDirection::Send); });
    Handle(ID_FILE_SEND_LABEL, [this] { RunSlotCommand(FileKind::Label, TransferDirection::Send); });
    Handle(ID_FILE_DOWNLOAD_SYMBOL, [this] { RunSlotCommand(FileKind::Symbol, TransferDirection::Send); });
    Handle(ID_REPLACE_DATA_FILE, [this] { ReplaceSlotFile(FileKind::Data); });
    Handle(ID_GET_SLOT_DATA_FILE, [this] { RunSlotCommand(FileKind::Data, TransferDirection::Receive); });
    Handle(ID_SAVE_SLOT_DATA_AS_CSV, [this] {
        FileKind kind;
        uint8_t slot;
        if (CQV7View::SlotOf(view_->currentItem(), &kind, &slot) && kind == FileKind::Data && PrinterConnected()) {
            SaveDataSlotAsCsv(service_, slot, files_, this);
        }
    });
    Handle(ID_REPLACE_LABEL_FILE, [this] { ReplaceSlotFile(FileKind::Label); });
    Handle(ID_GET_SLOT_LABEL_FILE, [this] { RunSlotCommand(FileKind::Label, TransferDirection::Receive); });
    Handle(ID_HELP_FINDER, [this] { OnHelpFinder(); });
    Handle(ID_HELP, [this] { OnHelpFinder(); });
    Handle(ID_CONTEXT_HELP, [this] { OnHelpFinder(); });
    Handle(ID_HELP_READ_ME, [this] { view_->OnHelpReadMe(); });
    Handle(ID_HELP_REGISTER, [this] { view_->OnHelpRegister(); });
    Handle(ID_HELP_OPERATORS_MANUAL, [this] { view_->OnHelpOperatorsManual(); });
    Handle(ID_HELP_QUICK_REFERENCE, [this] { view_->OnHelpQuickReference(); });
    Handle(ID_HELP_WEBSITE, [this] { view_->OnHelpWebsite(); });
    connect(view_, &CQV7View::cannotOpen, this, [this](const QString& message) {
        // A Help command may come in through a transfer's event pump: a box
        // there would hold the transfer (a firmware upgrade would stall)
        // until answered. The status bar says it without stopping anything.
        if (service_.IsTransferInProgress()) {
            statusBar()->showMessage(message);
        } else {
            prompt_.ShowMessage(message, MessageIcon::Exclamation, MessageButtons::Ok);
        }
    });
    Handle(ID_APP_ABOUT, [this] { OnAppAbout(); });
    Handle(ID_FILE_SAVE_SYMBOL, [this] { view_->OnSaveSymbolFile(files_); });
    Handle(ID_FIRMWARE_UPGRADE, [this] { firmware_->BackUpAndUpgrade(this); });
    Handle(ID_FIRMWARE_GET_CURRENT, [this] { firmware_->FetchFirmware(this, kSaveToChosenFile); });
    Handle(ID_FIRMWARE_RESTORE, [this] { firmware_->RestoreFirmware(this); });
    Handle(ID_FILE_SEND_FILE_SET, [this] { OnFileSendFileSet(); });
    Handle(ID_FILE_GET_ALL_FILES, [this] {
        if (!PrinterConnected()) return;
        FileSetDialogs dialogs(files_);
        fileSets_->GetAllFiles(dialogs, settings_, this);
        // Each file's window closed while the set still held the busy flag.
        UpdateCommandStates();
    });
}

void CMainFrame::OnFileSendFileSet() {
    if (!PrinterConnected()) return;
    FileSetDialogs dialogs(files_);
    fileSets_->SendFileSet(dialogs, settings_, this);
    UpdateCommandStates();
    // Read afresh whatever the outcome: part of a set may have gone across.
    view_->Refresh();
    ShowRefreshProblems();
}

void CMainFrame::SendCommand(int commandId) {
    QAction* command = action(commandId);
    if (command && command->isEnabled()) command->trigger();
}

void CMainFrame::SetSlotDialogs(SlotDialogPort* dialogs) {
    slotDialogs_ = dialogs ? dialogs : ownSlotDialogs_.get();
}

void CMainFrame::UpdateCommandStates() {
    const bool busy = service_.IsTransferInProgress();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const int id = it.key();
        it.value()->setEnabled(handled_.contains(id) && !(busy && IsGuardedDuringTransfer(id)));
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (service_.IsTransferInProgress()) {
        // The request arrives through the transfer's event pump; a message box
        // here would stop the transfer until it is answered, and the printer
        // gives up waiting. It is shown once the transfer is over.
        closeRefusalPending_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::OnTransferEnded() {
    UpdateCommandStates();
    RefreshAfterPlugging();
    if (!closeRefusalPending_ || service_.IsTransferInProgress()) return;
    closeRefusalPending_ = false;
    prompt_.ShowMessage(LoadString(IDS_CLOSE_DURING_TRANSFER), MessageIcon::Stop, MessageButtons::Ok);
}

void CMainFrame::OnPrinterPlugged() {
    plugRefreshPending_ = true;
    RefreshAfterPlugging();
}

void CMainFrame::RefreshAfterPlugging() {
    // A transfer has the printer to itself; the news waits for its end. A
    // read already under way is not started again from inside itself: it
    // reads once more when it is done.
    if (!plugRefreshPending_ || plugRefreshRunning_ || service_.IsTransferInProgress()) return;
    plugRefreshRunning_ = true;
    while (plugRefreshPending_) {
        plugRefreshPending_ = false;
        SendCommand(ID_VIEW_REFRESH);
    }
    plugRefreshRunning_ = false;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // The lock keys' lights change as the keys are let go, and may have
    // changed in another program while this one was in the background.
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock) UpdateKeyIndicators();
    } else if (event->type() == QEvent::ApplicationActivate && watched == qApp) {
        UpdateKeyIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    if (windowState() == Qt::WindowNoState && isVisible()) normalFrameOffset_ = geometry().topLeft() - pos();
    QMainWindow::moveEvent(event);
}

void CMainFrame::SavePlacement() {
    const int showCommand = ShowCommandForWindowState(windowState());
    QPoint position = pos();
    QSize size = this->size();
    if (windowState() != Qt::WindowNoState) {
        const QRect normal = normalGeometry();
        position = normal.topLeft() - normalFrameOffset_;
        size = normal.size();
    }
    settings_.WriteProfileInt(setting::kX, position.x());
    settings_.WriteProfileInt(setting::kY, position.y());
    settings_.WriteProfileInt(setting::kWidth, size.width());
    settings_.WriteProfileInt(setting::kHeight, size.height());
    settings_.WriteProfileInt(setting::kShowCommand, showCommand);
}

void CMainFrame::UpdateKeyIndicators() {
    // A pane shows only while its lock is on: at the first window's width a
    // blank pane would take the room the command prompts need.
    const KeyLocks locks = ReadKeyLocks();
    capsPane_->setVisible(locks.caps);
    numPane_->setVisible(locks.num);
    scrollPane_->setVisible(locks.scroll);
}

void CMainFrame::OnFileConvertCsv() {
    QString csvPath;
    const FileChoice csvChoice{QLatin1String(kCsvChoiceTitle), QLatin1String(kCsvFilter),
                               QLatin1String(kCsvExtension), QString()};
    if (!files_.ChooseFileToOpen(csvChoice, &csvPath)) return;
    // The title, the file's name without folder and extension, names the database.
    const QString csvTitle = QFileInfo(csvPath).completeBaseName();

    QString targetPath;
    const FileChoice targetChoice{QLatin1String(kTargetChoiceTitle), QLatin1String(kTargetFilter),
                                  QLatin1String(kTargetExtension), csvTitle};
    if (!files_.ChooseFileToSave(targetChoice, &targetPath)) return;

    ConvertCsvToDataFile(dataTable_, csvPath, csvTitle, targetPath, prompt_);
}

void CMainFrame::ShowRefreshProblems() {
    // Said without a box, so nothing waits for an answer: a printer that
    // cannot be read, and a trace that is not being written (a user who asked
    // for one to diagnose the printer must learn that).
    const std::string traceProblem = qv7::TraceProblem();
    if (!view_->printerProblem().isEmpty()) {
        statusBar()->showMessage(QLatin1String(kNoPrinterStatus) + view_->printerProblem());
    } else if (!traceProblem.empty()) {
        statusBar()->showMessage(QString::fromStdString(traceProblem));
    } else {
        statusBar()->clearMessage();
    }
}

bool CMainFrame::PrinterConnected() {
    // Nothing starts while a transfer runs, and no box may open from inside its pump.
    if (service_.IsTransferInProgress()) return false;
    if (view_->rootItem() && view_->printerProblem().isEmpty()) return true;
    // The printer may have come back since the tree was read.
    view_->Refresh();
    ShowRefreshProblems();
    // A printer that answered but was refused (an old firmware) has had its own message.
    if (view_->printerProblem().isEmpty()) return view_->rootItem() != nullptr;
    prompt_.ShowMessage(LoadString(IDS_NO_PRINTER_CONNECTED).arg(view_->printerProblem()), MessageIcon::Exclamation,
                        MessageButtons::Ok);
    return false;
}

void CMainFrame::RunSlotCommand(FileKind kind, TransferDirection direction) {
    if (!PrinterConnected()) return;
    if (kind == FileKind::Symbol) EraseSymbolPreview();
    if (direction == TransferDirection::Receive) {
        service_.OnGetFile(kind, *slotDialogs_, settings_, this);
        if (kind == FileKind::Symbol) view_->Refresh();
    } else {
        // From the menu the tree is read afresh whatever the send's outcome.
        service_.OnSendFile(kind, *slotDialogs_, settings_, this, QString());
        view_->Refresh();
    }
}

void CMainFrame::ReplaceSlotFile(FileKind kind) {
    if (PrinterConnected() && service_.OnSendFile(kind, *slotDialogs_, settings_, this, QString())) view_->Refresh();
}

void CMainFrame::EraseSymbolPreview() {
    view_->ErasePreview();
}

void CMainFrame::OnAppExit() {
    close();
}

void CMainFrame::OnViewToolBar() {
    toolBar_->setVisible(actions_[ID_VIEW_TOOLBAR]->isChecked());
}

void CMainFrame::OnViewStatusBar() {
    statusBar()->setVisible(actions_[ID_VIEW_STATUS_BAR]->isChecked());
}

void CMainFrame::OnHelpFinder() {
    view_->OpenDocument(PlatformPaths::HelpFile());
}

void CMainFrame::OnAppAbout() {
    AboutBox about(this);
    about.exec();
}

}  // namespace quillory
