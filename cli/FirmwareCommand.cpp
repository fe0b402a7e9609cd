// qv7 firmware: get, back up, upgrade and restore the printer's firmware with
// the program's own operations, the questions answered from the command line
// and the terminal.
#include <QDir>
#include <QFileInfo>

#include <termios.h>
#include <unistd.h>

#include <cstdio>

#include "FirmwareOperations.h"
#include "CPrinterService.h"
#include "Commands.h"
#include "FileChoicePort.h"
#include "FirmwareTexts.h"
#include "PrinterSession.h"
#include "StringTable.h"
#include "TerminalProgress.h"
#include "TerminalPrompt.h"
#include "TerminalText.h"

namespace qv7cli {

namespace {

using namespace quillory;

const char kAccessCodePrompt[] = "Password: ";

struct FirmwareOptions {
    std::string action;
    std::string file;
    KeypadModel model = kNoModel;
    bool modelGiven = false;
    std::string accessCode;
    bool accessCodeGiven = false;
    bool yes = false;
};

// The terminal prompt, with a way out at the power steps: a user who has not
// put the printer into its firmware mode says no and nothing is started.
// --yes answers every question with yes.
class FirmwarePrompt final : public PromptPort {
public:
    explicit FirmwarePrompt(bool yes) : yes_(yes) {}
    MessageAnswer ShowMessage(const QString& text, MessageIcon icon, MessageButtons buttons) override {
        const MessageAnswer answer = Answer(text, icon, buttons);
        // The program's message gives the library's reason; a terminal user
        // also learns which printer was tried and what to do.
        if (text.startsWith(LoadString(IDS_FIRMWARE_CONNECT_FAILED))) SayWhichPrinterWasTried();
        return answer;
    }
    bool declined() const { return declined_; }

private:
    MessageAnswer Answer(const QString& text, MessageIcon icon, MessageButtons buttons) {
        const bool isPowerSteps = text == LoadString(IDS_FIRMWARE_POWER_STEPS);
        if (yes_ && (isPowerSteps || buttons == MessageButtons::YesNo)) {
            terminal_.ShowMessage(text, icon, MessageButtons::Ok);
            return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
        }
        if (!isPowerSteps) return terminal_.ShowMessage(text, icon, buttons);
        if (terminal_.ShowMessage(text, icon, MessageButtons::YesNo) == MessageAnswer::Yes) return MessageAnswer::Ok;
        declined_ = true;
        return MessageAnswer::No;
    }

    bool declined_ = false;
    TerminalPrompt terminal_;
    bool yes_;
};

// The file named on the command line stands for the file dialogs.
class ArgumentFile final : public FileChoicePort {
public:
    ArgumentFile(const std::string& file, PromptPort& prompt)
        : file_(QString::fromLocal8Bit(file.c_str())), prompt_(prompt) {}

    bool ChooseFileToOpen(const FileChoice&, QString* path) override {
        *path = QFileInfo(file_).absoluteFilePath();
        return true;
    }
    bool ChooseFileToSave(const FileChoice& choice, QString* path) override {
        QFileInfo target(file_);
        if (target.isDir()) {
            target = QFileInfo(QDir(file_), choice.proposedName + QLatin1Char('.') + choice.defaultExtension);
        }
        *path = target.absoluteFilePath();
        if (!target.exists()) return true;
        return prompt_.ShowMessage(*path + LoadString(IDS_ALREADY_EXISTS), MessageIcon::Exclamation,
                                   MessageButtons::YesNo) == MessageAnswer::Yes;
    }

private:
    QString file_;
    PromptPort& prompt_;
};

// A line from the terminal with echo off, as the password field hides it.
bool ReadHidden(QString* line) {
    std::fputs(kAccessCodePrompt, stderr);
    std::fflush(stderr);
    termios saved{};
    const bool terminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QByteArray bytes;
    int c;
    while ((c = std::fgetc(stdin)) != EOF && c != '\n') bytes.append(static_cast<char>(c));
    if (terminal) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputc('\n', stderr);
    *line = QString::fromLocal8Bit(bytes);
    return c != EOF || !bytes.isEmpty();
}

// --model and --access-code, with the confirmations the dialogs would ask.
class ArgumentChoices final : public FirmwareChoicePort {
public:
    ArgumentChoices(const FirmwareOptions& options, PromptPort& prompt) : options_(options), prompt_(prompt) {}

    KeypadModel SelectModel() override {
        const char* question =
            options_.model == kModelQV7E ? firmwaretext::kConfirmQV7E : firmwaretext::kConfirmQV7EQ;
        if (prompt_.ShowMessage(QLatin1String(question), MessageIcon::None, MessageButtons::YesNo) !=
            MessageAnswer::Yes) {
            return kNoModel;
        }
        return options_.model;
    }

    bool EnterAccessCode() override {
        if (options_.accessCodeGiven) {
            return Check(QString::fromLocal8Bit(options_.accessCode.c_str()));
        }
        if (isatty(STDIN_FILENO) != 1) {
            std::fputs("qv7: the access code is needed: give it with --access-code\n", stderr);
            return false;
        }
        // Like the dialog, a wrong code may be typed again; an empty line gives up.
        QString typed;
        while (ReadHidden(&typed) && !typed.isEmpty()) {
            if (Check(typed)) return true;
        }
        return false;
    }

private:
    bool Check(const QString& typed) {
        if (IsAccessCode(typed)) return true;
        prompt_.ShowMessage(QLatin1String(firmwaretext::kInvalidPassword), MessageIcon::None, MessageButtons::Ok);
        return false;
    }

    const FirmwareOptions& options_;
    PromptPort& prompt_;
};

bool ParseModel(const std::string& word, KeypadModel* model) {
    if (word == firmwaretext::kQV7EButton) {
        *model = kModelQV7E;
    } else if (word == firmwaretext::kQV7EQButton) {
        *model = kModelQV7EQ;
    } else {
        return false;
    }
    return true;
}

// Returns kExitSuccess when the line was understood, else the usage error's code.
int TakeOptions(const Invocation& invocation, FirmwareOptions* options) {
    options->action = invocation.operands[0];
    options->yes = invocation.yes();
    options->modelGiven = invocation.Has("--model");
    if (options->modelGiven && !ParseModel(invocation.Value("--model"), &options->model)) {
        return UsageError("--model needs QV7E or QV7EQ");
    }
    options->accessCodeGiven = invocation.Has("--access-code");
    options->accessCode = invocation.Value("--access-code");

    const bool wantsFile = options->action == "get" || options->action == "restore";
    if (options->action != "get" && options->action != "backup" && options->action != "upgrade" &&
        options->action != "restore") {
        return UsageError("unknown firmware action '" + options->action + "'");
    }
    if (invocation.operands.size() != (wantsFile ? 2u : 1u)) {
        return UsageError(wantsFile ? "firmware " + options->action + " needs one FILE"
                                    : "firmware " + options->action + " takes no file");
    }
    if (wantsFile) options->file = invocation.operands[1];
    if (options->modelGiven != (options->action == "upgrade")) {
        return UsageError(options->modelGiven ? "--model belongs to firmware upgrade"
                                              : "firmware upgrade needs --model QV7E or QV7EQ");
    }
    if (options->accessCodeGiven && options->action != "restore") {
        return UsageError("--access-code belongs to firmware restore");
    }
    return kExitSuccess;
}

// A fetch that wrote its file names it on stdout, for scripts.
int FetchResult(Invocation& invocation, const FirmwareOperations& firmware, int result) {
    if (result == kFetchFailed || firmware.lastFetchedFile().isEmpty()) return kExitFailed;
    if (invocation.json()) {
        invocation.result.insert("file", firmware.lastFetchedFile());
    } else {
        std::printf("%s\n", TerminalText(firmware.lastFetchedFile()).constData());
    }
    return kExitSuccess;
}

}  // namespace

int RunFirmware(Invocation& invocation) {
    FirmwareOptions options;
    if (const int usage = TakeOptions(invocation, &options); usage != kExitSuccess) return usage;
    invocation.result.insert("action", QString::fromStdString(options.action));
    invocation.result.insert("file", QJsonValue());

    FirmwarePrompt prompt(options.yes);
    TerminalProgressWindows progressWindows;
    CPrinterService service(prompt, progressWindows);
    ArgumentFile file(options.file, prompt);
    ArgumentChoices choices(options, prompt);
    // qv7 leaves the program's remembered paths alone.
    FirmwareOperations firmware(service, file, choices, nullptr);

    int exitCode = kExitFailed;
    if (options.action == "get") {
        exitCode = FetchResult(invocation, firmware, firmware.FetchFirmware(nullptr, kSaveToChosenFile));
    } else if (options.action == "backup") {
        exitCode = FetchResult(invocation, firmware, firmware.FetchFirmware(nullptr, kBackupBeforeUpgrade));
    } else if (options.action == "upgrade") {
        exitCode = firmware.BackUpAndUpgrade(nullptr) ? kExitSuccess : kExitFailed;
        if (!firmware.lastFetchedFile().isEmpty()) invocation.result.insert("file", firmware.lastFetchedFile());
    } else {
        exitCode = firmware.RestoreFirmware(nullptr) ? kExitSuccess : kExitFailed;
        invocation.result.insert("file", QFileInfo(QString::fromLocal8Bit(options.file.c_str())).absoluteFilePath());
    }
    if (prompt.declined()) std::fputs("qv7: nothing was started (answer yes, or give --yes in scripts)\n", stderr);
    return exitCode;
}

}  // namespace qv7cli
