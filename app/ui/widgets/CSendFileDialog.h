// "Send file to printer...": which file on the PC to send and the printer
// slot it replaces.
#ifndef QUILLORY_CSENDFILEDIALOG_H
#define QUILLORY_CSENDFILEDIALOG_H

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillory {

class CQV7View;
class FileChoicePort;
class SendFileForm;
class SymbolSourceChooser;

class CSendFileDialog : public QDialog {
    Q_OBJECT
public:
    // Data and label files are browsed for with the file choice; symbols
    // with the chooser, which also judges them at OK.
    CSendFileDialog(SendFileForm& form, const CQV7View& tree, FileChoicePort& files,
                    std::unique_ptr<SymbolSourceChooser> symbols, QWidget* parent);
    ~CSendFileDialog() override;

    QLineEdit* sourceEdit() const { return sourceEdit_; }
    QPushButton* browseButton() const { return browseButton_; }
    QComboBox* slotList() const { return slotList_; }

public slots:
    void accept() override;
    void OnBrowse();

private:
    SendFileForm& form_;
    FileChoicePort& files_;
    std::unique_ptr<SymbolSourceChooser> symbols_;
    QLineEdit* sourceEdit_;
    QPushButton* browseButton_;
    QComboBox* slotList_;
};

}  // namespace quillory

#endif
