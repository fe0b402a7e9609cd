// "Send file set to printer..." and "Get file set from printer...", and the
// port through which the file set commands open them.
#ifndef QUILLORY_FILE_SET_DIALOGS_H
#define QUILLORY_FILE_SET_DIALOGS_H

#include <QDialog>

#include "FileSetForms.h"

class QLineEdit;
class QPushButton;

namespace quillory {

class CFolderEdit;
class FileChoicePort;

class CSendFileSetDialog : public QDialog {
    Q_OBJECT
public:
    CSendFileSetDialog(SendFileSetForm& form, FileChoicePort& files, QWidget* parent);

    QLineEdit* pathEdit() const { return pathEdit_; }
    QPushButton* browseButton() const { return browseButton_; }

public slots:
    void accept() override;
    void OnBrowse();

private:
    SendFileSetForm& form_;
    FileChoicePort& files_;
    QLineEdit* pathEdit_;
    QPushButton* browseButton_;
};

class CGetAllFilesDialog : public QDialog {
    Q_OBJECT
public:
    CGetAllFilesDialog(GetAllFilesForm& form, QWidget* parent);

    CFolderEdit* folderEdit() const { return folderEdit_; }

public slots:
    void accept() override;

private:
    GetAllFilesForm& form_;
    CFolderEdit* folderEdit_;
};

// Runs each dialog modally until OK passes the form's check or Cancel.
class FileSetDialogs : public FileSetDialogPort {
public:
    explicit FileSetDialogs(FileChoicePort& files) : files_(files) {}
    bool RunSendFileSetDialog(SendFileSetForm& form, QWidget* parent) override;
    bool RunGetAllFilesDialog(GetAllFilesForm& form, QWidget* parent) override;

private:
    FileChoicePort& files_;
};

}  // namespace quillory

#endif
