// "Get file from printer...": which slot's file to fetch and the folder on
// the PC to put it in.
#ifndef QUILLORY_CGETFILEDIALOG_H
#define QUILLORY_CGETFILEDIALOG_H

#include <QDialog>

class QComboBox;

namespace quillory {

class CFolderEdit;
class CQV7View;
class GetFileForm;

class CGetFileDialog : public QDialog {
    Q_OBJECT
public:
    // The form gives the kind and the folder to start with, and takes the
    // user's choice once OK passes its checks.
    CGetFileDialog(GetFileForm& form, const CQV7View& tree, QWidget* parent);

    QComboBox* sourceList() const { return sourceList_; }
    CFolderEdit* folderEdit() const { return folderEdit_; }

public slots:
    void accept() override;

private:
    GetFileForm& form_;
    QComboBox* sourceList_;
    CFolderEdit* folderEdit_;
};

}  // namespace quillory

#endif
