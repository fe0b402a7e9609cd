#include "SetupLauncher.h"

#include "SetupTexts.h"

namespace quillory::setup {

namespace {

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsWin9xCode(int osCode) { return osCode >= 95 && osCode <= 100; }

}  // namespace

int OsCodeFor(const OsVersion& v) {
    if (v.major < 4) {
        return 351;
    }
    if (v.major == 4) {
        if (v.minor == 0) {
            return v.platformId == 1 ? 95 : 40;
        }
        return v.minor == 10 ? 98 : 100;
    }
    if (v.major == 5) {
        return v.minor == 0 ? 2000 : v.minor == 1 ? 2002 : 0;
    }
    // Vista shares the code of Windows 2000, so both take the same road everywhere.
    return v.minor == 0 ? 2000 : v.minor == 1 ? 6100 : 0;
}

SetupLauncher::SetupLauncher(SetupHost& host, MessagePort& messages, SetupTimer& timer)
    : host_(host), messages_(messages), timer_(timer), caption_(texts::kCaption) {}

void SetupLauncher::Initialize() {
    isWin9x_ = false;
    host_.RemoveOldPackages();
    if (!host_.RemoveOldDriverInfo()) {
        messages_.ShowMessage(texts::kNoWindowsDirectory);
    }

    if (const auto version = host_.QueryOsVersion()) {
        osCode_ = OsCodeFor(*version);
    } else {
        // The window still closes only after the remaining start-up steps.
        messages_.ShowMessage(texts::kNoVersionNumber);
        closeRequested_ = true;
        osCode_ = 0;
    }
    isWin9x_ = IsWin9xCode(osCode_);

    if (!KeepsWatching()) {
        const DriverInfoRefresh refresh = host_.RefreshDriverInfoFile();
        if (refresh.windowsDirectoryMissing) {
            messages_.ShowMessage(texts::kNoWindowsDirectory);
        }
        if (refresh.systemDirectoryMissing) {
            messages_.ShowMessage(texts::kNoSystemDirectory);
        }
    }
    host_.StageDriverFiles();

    controls_.Enable(id::kXpFileTransfer, true);
    controls_.Enable(id::kXpUpgrade, true);
    controls_.Enable(id::kVistaDrivers, true);
    timer_.Start(kTimerPeriodMs);
}

bool SetupLauncher::ApplicationIs(const char* version) {
    const auto installed = host_.InstalledVersion();
    return installed && Trimmed(*installed) == version;
}

void SetupLauncher::OnTimer() {
    // On 95, 98 and XP the timer watches until the application appears; elsewhere
    // it looks once and waits for "Install Quillory" to start it again.
    if (!firstTickDone_ && !KeepsWatching()) {
        timer_.Stop();
        firstTickDone_ = true;
    }
    if (appDetected_) {
        return;
    }
    const bool installed = ApplicationIs("2.01");
    if (installed) {
        appDetected_ = true;
        timer_.Stop();
    }
    const bool xpDrivers = installed && !IsVistaOr7();
    const bool vistaDrivers = installed && IsVistaOr7();
    controls_.Enable(id::kInstallQuillory, !installed);
    controls_.Enable(id::kXpFileTransfer, xpDrivers);
    controls_.Enable(id::kXpScribeline, xpDrivers);
    controls_.Enable(id::kXpUpgrade, xpDrivers);
    controls_.Enable(id::kVistaDrivers, vistaDrivers);
}

void SetupLauncher::OnButton(int controlId) {
    switch (controlId) {
    case id::kInstallQuillory: InstallQuillory(); break;
    case id::kXpFileTransfer: ShowXpPage(texts::kXpFileTransferTitle, texts::kXpFileTransferText); break;
    case id::kXpUpgrade: ShowXpPage(texts::kXpUpgradeTitle, texts::kXpUpgradeText); break;
    case id::kVistaDrivers: ShowVistaPage(); break;
    case id::kHelp: ShowVistaHelp(); break;
    case id::kInstall: InstallKernelDriver(); break;
    case id::kXpScribeline: ShowScribelinePage(); break;
    case id::kNext: AddPrinter(); break;
    case id::kBack: ReturnToMainPage(); break;
    case id::kReadMe: OpenDocument(Document::ReadMe); break;
    case id::kRegister: OpenDocument(Document::Register); break;
    case id::kOperatorsManual: OpenDocument(Document::OperatorsManual); break;
    case id::kQuickRefCard: OpenDocument(Document::QuickRefCard); break;
    case id::kWebsite: OpenDocument(Document::Website); break;
    default: break;
    }
}

PackageFamily SetupLauncher::InstallFamily() const {
    if (isWin9x_) {
        return PackageFamily::Win9x;
    }
    return osCode_ == 2002 ? PackageFamily::XP : PackageFamily::NT;
}

void SetupLauncher::EndDialog(const char* message) {
    messages_.ShowMessage(message);
    closeRequested_ = true;
}

void SetupLauncher::InstallQuillory() {
    timer_.Stop();
    if (!ApplicationIs("1.09")) {
        host_.RemoveCurrentPackage(isWin9x_ ? PackageFamily::Win9x : PackageFamily::NT);
        switch (host_.InstallApplication(InstallFamily(), kInstallWaitMs)) {
        case StepResult::NotStarted:
            // Without the Windows Installer the package cannot even start installing.
            caption_ = texts::kInstallingWindowsInstaller;
            if (!host_.InstallWindowsInstaller(IsWin9xCode(osCode_))) {
                EndDialog(texts::kWindowsInstallerFailed);
                return;
            }
            if (host_.InstallApplication(InstallFamily(), kInstallWaitMs) == StepResult::NotStarted) {
                EndDialog(texts::kInstallQuilloryFailed);
                return;
            }
            break;
        case StepResult::Refused: messages_.ShowMessage(texts::kInstallRefused); break;
        case StepResult::Failed: messages_.ShowMessage(texts::kInstallFailed); break;
        case StepResult::Missing:  // the host has said what is missing
        case StepResult::Done: break;
        }
    }
    // The installer may still be running: the timer enables the driver buttons
    // once it has recorded the version.
    timer_.Start(kTimerPeriodMs);
}

void SetupLauncher::LeaveMainPage() {
    for (int control : MainPageControls()) {
        controls_.Show(control, false);
    }
    controls_.Show(id::kExit, false);
    controls_.Show(id::kBack, true);
    controls_.Show(id::kPageTitle, true);
    controls_.Show(id::kPageText, true);
}

void SetupLauncher::SetPage(const std::string& title, const std::string& text) {
    controls_.SetText(id::kPageTitle, title);
    controls_.SetText(id::kPageText, text);
}

void SetupLauncher::SetPageText(const std::string& text) { controls_.SetText(id::kPageText, text); }

void SetupLauncher::ReturnToMainPage() {
    controls_.Show(id::kInstall, false);
    controls_.Show(id::kHelp, false);
    controls_.Show(id::kBack, false);
    controls_.Enable(id::kBack, true);
    controls_.SetText(id::kNext, "Next->");
    controls_.Show(id::kNext, false);
    controls_.Show(id::kPageTitle, false);
    controls_.Show(id::kPageText, false);
    for (int control : MainPageControls()) {
        controls_.Show(control, true);
    }
    controls_.Show(id::kExit, true);
}

void SetupLauncher::ShowXpPage(const char* title, const char* text) {
    addPrinterMode_ = false;
    LeaveMainPage();
    controls_.Show(id::kNext, false);
    controls_.Show(id::kInstall, false);
    controls_.Show(id::kHelp, false);
    SetPage(title, text);
}

void SetupLauncher::ShowVistaPage() {
    addPrinterMode_ = false;
    LeaveMainPage();
    controls_.Show(id::kNext, false);
    controls_.Enable(id::kInstall, true);
    controls_.Show(id::kInstall, true);
    controls_.Show(id::kHelp, true);
    SetPage(texts::kVistaPageTitle, texts::kVistaPageText);
}

void SetupLauncher::ShowVistaHelp() {
    controls_.Enable(id::kInstall, false);
    SetPage(texts::kVistaHelpTitle, texts::kVistaHelpText);
}

void SetupLauncher::ReadParentIdPrefix() {
    // A failed read keeps the prefix found before.
    if (auto prefix = host_.ReadParentIdPrefix()) {
        parentIdPrefix_ = std::move(*prefix);
    }
}

void SetupLauncher::ShowAddPrinterInvitation() {
    controls_.Enable(id::kNext, true);
    SetPage(texts::kScribelineInstallTitle, IsVistaOr7() ? texts::kTextL : texts::kTextS);
}

void SetupLauncher::InstallKernelDriver() {
    controls_.Enable(id::kInstall, false);
    ReadParentIdPrefix();
    if (host_.KernelDriverInstalled(parentIdPrefix_)) {
        SetPage(texts::kAutoInstallTitle, texts::kAlreadyInstalledText);
        controls_.Show(id::kInstall, false);
        if (addPrinterMode_) {
            ShowAddPrinterInvitation();
        } else if (IsVistaOr7()) {
            addPrinterMode_ = true;
            controls_.Show(id::kHelp, true);
            controls_.Show(id::kInstall, true);
            controls_.Show(id::kNext, true);
            SetPageText(texts::kTextL);
        } else {
            SetPageText(texts::kTextD);
        }
        return;
    }

    SetPageText(texts::kDriverWillInstallText);
    StepResult install = StepResult::NotStarted;
    if (osCode_ == 6100) {
        install = host_.InstallKernelDriver(DriverBuild::Windows7);
    } else if (osCode_ == 2000) {
        install = host_.InstallKernelDriver(DriverBuild::Vista);
    }
    if (install == StepResult::Done) {
        addPrinterMode_ = true;
        controls_.Show(id::kHelp, false);
        controls_.Show(id::kInstall, true);
        controls_.Show(id::kNext, true);
    }
    controls_.Show(id::kInstall, false);
    if (install != StepResult::Done && install != StepResult::NotStarted) {
        // A driver that was refused or failed is no reason to go on to the printer.
        controls_.Show(id::kNext, false);
        controls_.Enable(id::kNext, false);
        controls_.Show(id::kHelp, true);
        if (install == StepResult::Refused) {
            SetPage(texts::kDriverMissingTitle, texts::kDriverRefusedText);
        } else {
            SetPage(texts::kProblemTitle, texts::kDriverFailedText);
        }
    } else if (addPrinterMode_) {
        ShowAddPrinterInvitation();
    } else {
        SetPageText(texts::kTextD);
    }
}

void SetupLauncher::ShowScribelinePage() {
    addPrinterMode_ = true;
    LeaveMainPage();
    controls_.Show(id::kInstall, false);
    controls_.Show(id::kHelp, false);
    controls_.Show(id::kNext, true);
    controls_.Enable(id::kNext, false);

    ReadParentIdPrefix();
    if (!host_.KernelDriverInstalled(parentIdPrefix_)) {
        SetPage(texts::kDriverMissingTitle, texts::kDriverMissingText);
        return;
    }
    SetPage(texts::kScribelineTitle, texts::kScribelineText);
    controls_.Enable(id::kNext, true);
}

void SetupLauncher::AddPrinter() {
    ReadParentIdPrefix();
    const PrinterPort port = host_.ReadPrinterPort(parentIdPrefix_);
    if (port.status != PrinterPort::Status::Found) {
        SetPage(texts::kProblemTitle,
                port.status == PrinterPort::Status::NoPrinter ? texts::kNotDetectedText : texts::kNoPortText);
        controls_.Show(id::kNext, false);
        return;
    }
    if (IsVistaOr7()) {
        const DriverBuild build = osCode_ == 6100 ? DriverBuild::Windows7 : DriverBuild::Vista;
        if (!host_.AddPrinterDriverPackage(build)) {
            messages_.ShowMessage(texts::kUnableToAddPrinter);
        }
    }
    const StepResult queue = host_.AddPrinterQueue(port.name);
    controls_.Show(id::kNext, false);
    if (queue == StepResult::Done) {
        SetPage(texts::kPrinterAddedTitle, texts::kPrinterAddedText);
    } else {
        SetPage(texts::kProblemTitle,
                queue == StepResult::Refused ? texts::kPrinterRefusedText : texts::kPrinterFailedText);
    }
}

void SetupLauncher::OpenDocument(Document document) { host_.OpenDocument(document); }

}  // namespace quillory::setup
