// The application: owns the printer service and the icons of the tree for the
// whole run, starts the program in its fixed order (settings, main frame,
// first Refresh) and winds it down again.
//
// Qt allows one QApplication per process and main() makes it; this object
// holds what one run of the program owns, so that tests can start and stop
// the program several times in one process.
#ifndef QUILLORY_CQUILLORYAPP_H
#define QUILLORY_CQUILLORYAPP_H

#include <memory>

#include "CPrinterService.h"
#include "CSystemImageList.h"
#include "PleaseWaitDlgFactory.h"

namespace quillory {

class CMainFrame;
class FileChoicePort;
class PrinterPlugWatcher;
class PromptPort;
class SettingsStore;

class CQuilloryApp {
public:
    CQuilloryApp(PromptPort& prompt, FileChoicePort& files);
    // Runs the exit step if the run has not yet been wound down.
    ~CQuilloryApp();
    CQuilloryApp(const CQuilloryApp&) = delete;
    CQuilloryApp& operator=(const CQuilloryApp&) = delete;

    // Start-up: ready for the event loop when it returns true.
    bool InitInstance();
    // Shut-down after the event loop: the frame goes (storing its placement),
    // then the settings are written out.
    void ExitInstance();

    CPrinterService& printerService() { return printerService_; }
    CMainFrame* mainFrame() const { return frame_.get(); }
    PrinterPlugWatcher* plugWatcher() const { return plugWatcher_.get(); }
    SettingsStore* settings() const { return settings_.get(); }

private:
    PromptPort& prompt_;
    FileChoicePort& files_;
    PleaseWaitDlgFactory progressWindows_;
    CPrinterService printerService_;
    CSystemImageList systemImageList_;
    std::unique_ptr<SettingsStore> settings_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<PrinterPlugWatcher> plugWatcher_;
};

}  // namespace quillory

#endif
