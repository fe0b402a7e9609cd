#include "CQuilloryApp.h"

#include <QApplication>

#include "CMainFrame.h"
#include "PrinterPlugWatcher.h"
#include "SettingsStore.h"
#include "StringTable.h"
#include "SymbolFiles.h"
#include "WindowShowCommand.h"

namespace quillory {

namespace {

const char kSettingsKey[] = "Orvale";

}  // namespace

CQuilloryApp::CQuilloryApp(PromptPort& prompt, FileChoicePort& files)
    : prompt_(prompt), files_(files), printerService_(prompt, progressWindows_) {}

CQuilloryApp::~CQuilloryApp() {
    ExitInstance();
}

bool CQuilloryApp::InitInstance() {
    // The XML library of the file set parts is started by each file set
    // operation (XmlPlatformScope), not here: most runs never need it.
    QCoreApplication::setOrganizationName(QLatin1String(kSettingsKey));
    QCoreApplication::setApplicationName(LoadString(IDS_APP_NAME));
    settings_ = std::make_unique<SettingsStore>(QLatin1String(kSettingsKey), LoadString(IDS_APP_NAME));

    SeedSymbolFolder();
    frame_ = std::make_unique<CMainFrame>(printerService_, *settings_, systemImageList_, prompt_, files_);
    QObject::connect(&progressWindows_, &PleaseWaitDlgFactory::windowOpened, frame_.get(),
                     &CMainFrame::UpdateCommandStates);
    // Queued: told once the operation's own last steps (its closing box)
    // are over, never from inside them.
    QObject::connect(&printerService_, &CPrinterService::transferEnded, frame_.get(), &CMainFrame::OnTransferEnded,
                     Qt::QueuedConnection);
    // Watched from before the first Refresh, so a printer plugged in while
    // it runs is not missed.
    plugWatcher_ = std::make_unique<PrinterPlugWatcher>();
    QObject::connect(plugWatcher_.get(), &PrinterPlugWatcher::printerPlugged, frame_.get(),
                     &CMainFrame::OnPrinterPlugged);

    frame_->setWindowState(WindowStateForShowCommand(settings_->GetProfileInt(setting::kShowCommand, kShow)));
    frame_->show();
    // Paint the window before the first Refresh talks to the printer, but let
    // no user input in before the tree is filled.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    frame_->SendCommand(ID_VIEW_REFRESH);
    return true;
}

void CQuilloryApp::ExitInstance() {
    plugWatcher_.reset();
    frame_.reset();
    if (settings_) settings_->Flush();
    settings_.reset();
}

}  // namespace quillory
