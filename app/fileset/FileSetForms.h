// What the send-set and get-all dialogs hold and how they judge OK, apart
// from any window, so the program, qv7 and the tests share one rule.
#ifndef QUILLORY_FILE_SET_FORMS_H
#define QUILLORY_FILE_SET_FORMS_H

#include <QString>

class QWidget;

namespace quillory {

class PromptPort;

class SendFileSetForm {
public:
    SendFileSetForm(PromptPort& prompt, QString path) : prompt_(prompt), path_(std::move(path)) {}
    const QString& path() const { return path_; }
    // OK with the field's text: true (the path taken) for an existing file;
    // otherwise says so, and the dialog stays open.
    bool Accept(const QString& text);

private:
    PromptPort& prompt_;
    QString path_;
};

class GetAllFilesForm {
public:
    GetAllFilesForm(PromptPort& prompt, QString folder) : prompt_(prompt), folder_(std::move(folder)) {}
    const QString& folder() const { return folder_; }
    // OK with the folder field's text: the overwrite question first, then
    // the folder must exist. True with the folder taken. Already confirmed
    // (qv7 get-all --yes), the question is not asked.
    bool Accept(const QString& fieldText, bool confirmed = false);

private:
    PromptPort& prompt_;
    QString folder_;
};

// How the commands open their dialogs: the program with its windows, qv7
// from its arguments, tests from a script.
class FileSetDialogPort {
public:
    virtual ~FileSetDialogPort() = default;
    // Modal until OK passes the form's check (true) or Cancel (false).
    virtual bool RunSendFileSetDialog(SendFileSetForm& form, QWidget* parent) = 0;
    virtual bool RunGetAllFilesDialog(GetAllFilesForm& form, QWidget* parent) = 0;
};

}  // namespace quillory

#endif
