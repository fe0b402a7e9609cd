// The launcher's behaviour, free of any window system: start-up, timer 3, the
// install of the application, and the pages, kept as states of the controls.
#ifndef QUILLORY_SETUP_LAUNCHER_H
#define QUILLORY_SETUP_LAUNCHER_H

#include <string>

#include "SetupControls.h"
#include "SetupHost.h"
#include "SetupPorts.h"

namespace quillory::setup {

inline constexpr int kTimerPeriodMs = 100;
inline constexpr int kInstallWaitMs = 3000;

int OsCodeFor(const OsVersion& version);

class SetupLauncher {
public:
    SetupLauncher(SetupHost& host, MessagePort& messages, SetupTimer& timer);

    void Initialize();
    void OnTimer();
    // A press of the button with this id; "Exit" belongs to the window.
    void OnButton(int controlId);

    const ControlStates& Controls() const { return controls_; }
    const std::string& Caption() const { return caption_; }
    bool CloseRequested() const { return closeRequested_; }
    int osCode() const { return osCode_; }
    bool addPrinterMode() const { return addPrinterMode_; }
    const std::string& parentIdPrefix() const { return parentIdPrefix_; }

private:
    void InstallQuillory();
    void ShowXpPage(const char* title, const char* text);
    void ShowVistaPage();
    void ShowVistaHelp();
    void InstallKernelDriver();
    void ShowScribelinePage();
    void AddPrinter();
    void ReturnToMainPage();
    void OpenDocument(Document document);

    void LeaveMainPage();
    void SetPage(const std::string& title, const std::string& text);
    void SetPageText(const std::string& text);
    void ShowAddPrinterInvitation();
    void ReadParentIdPrefix();
    bool ApplicationIs(const char* version);
    bool IsVistaOr7() const { return osCode_ == 2000 || osCode_ == 6100; }
    bool KeepsWatching() const { return osCode_ == 95 || osCode_ == 98 || osCode_ == 2002; }
    PackageFamily InstallFamily() const;
    void EndDialog(const char* message);

    SetupHost& host_;
    MessagePort& messages_;
    SetupTimer& timer_;
    ControlStates controls_;
    std::string caption_;
    bool closeRequested_ = false;

    int osCode_ = 0;
    bool isWin9x_ = false;
    bool firstTickDone_ = false;
    bool appDetected_ = false;
    bool addPrinterMode_ = false;
    std::string parentIdPrefix_;
};

}  // namespace quillory::setup

#endif
