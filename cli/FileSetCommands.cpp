// qv7 send-set and get-all: the program's "Send file set..." and "Get all
// files..." with the dialog's answer taken from the command line.
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include "FileSetOperations.h"
#include "DestinationFolder.h"
#include "FileSetDocument.h"
#include "FileSetForms.h"
#include "PrinterSession.h"
#include "StringTable.h"

namespace qv7cli {

int RunSendSet(Invocation& invocation) {
    PrinterSession session;
    quillory::FileSetOperations sets(session.service);
    // The dialog's check on the argument, before the printer is reached. The
    // program's stored paths are its own, so qv7 leaves them alone.
    const QString text = QString::fromLocal8Bit(invocation.operands[0].c_str());
    invocation.result.insert("definition", text);
    quillory::SendFileSetForm form(session.prompt, QString());
    if (!form.Accept(text) || !session.LoadCatalog()) return kExitFailed;
    return sets.SendAndReport(form.path(), nullptr) ? kExitSuccess : kExitFailed;
}

int RunGetAll(Invocation& invocation) {
    PrinterSession session;
    quillory::FileSetOperations sets(session.service);
    const QString text = QString::fromLocal8Bit(invocation.operands[0].c_str());
    invocation.result.insert("folder", text);
    invocation.result.insert("definition", QJsonValue());
    // The folder is looked at before anyone is asked to let files in it be
    // replaced; the program's words name no folder, so the command's do.
    const QString folder = quillory::FolderFromFieldText(text);
    if (!QFileInfo(folder).isDir()) {
        Failed(quillory::LoadString(quillory::IDS_SELECT_VALID_FOLDER).toLocal8Bit().toStdString());
        return NotUsable(folder, "folder");
    }
    quillory::GetAllFilesForm form(session.prompt, QString());
    if (!form.Accept(text, invocation.yes()) || !session.LoadCatalog()) return kExitFailed;
    const bool received = sets.ReceiveAndReport(form.folder(), nullptr);
    QJsonArray failures;
    for (const QString& failure : sets.receiveFailures()) failures.append(failure);
    invocation.result.insert("failures", failures);
    // What came of a run that fell short, its failures say.
    if (received) {
        invocation.result.insert("definition",
                                 QDir(form.folder()).absoluteFilePath(QLatin1String(quillory::kAllFilesDefinitionName)));
    }
    return received ? kExitSuccess : kExitFailed;
}

}  // namespace qv7cli
