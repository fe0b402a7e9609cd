// qv7 send-set and get-all: the program's "Send file set..." and "Get all
// files..." with the dialog's answer taken from the command line.
#include <QFileInfo>

#include "CFileSetOperations.h"
#include "FileSetForms.h"
#include "PrinterSession.h"

namespace qv7cli {

namespace {

int Run(const Arguments& args, const char* name, bool sending) {
    bool confirmed = false;
    Arguments rest;
    for (const std::string& arg : args) {
        if (!sending && (arg == "-y" || arg == "--yes")) {
            confirmed = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(std::string(name) + " has no option '" + arg + "'");
        } else {
            rest.push_back(arg);
        }
    }
    if (rest.size() != 1) {
        return UsageError(sending ? "send-set needs one definition: qv7 send-set FILE.fsd"
                                  : "get-all needs one folder: qv7 get-all FOLDER [--yes]");
    }
    PrinterSession session;
    quillory::CFileSetOperations sets(session.service);
    // The dialog's check on the argument, before the printer is reached. The
    // program's stored paths are its own, so qv7 leaves them alone.
    const QString text = QString::fromLocal8Bit(rest[0].c_str());
    if (sending) {
        quillory::SendFileSetForm form(session.prompt, QString());
        if (!form.Accept(text) || !session.LoadCatalog()) return kExitFailed;
        return sets.SendAndReport(form.path(), nullptr) ? kExitSuccess : kExitFailed;
    }
    quillory::GetAllFilesForm form(session.prompt, QString());
    if (!form.Accept(text, confirmed) || !session.LoadCatalog()) return kExitFailed;
    return sets.ReceiveAndReport(form.folder(), nullptr) ? kExitSuccess : kExitFailed;
}

}  // namespace

int RunSendSet(const Arguments& args) {
    return Run(args, "send-set", true);
}

int RunGetAll(const Arguments& args) {
    return Run(args, "get-all", false);
}

}  // namespace qv7cli
