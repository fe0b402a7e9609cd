// "Enter password...": the access code that guards a firmware restore. A
// wrong code is said to be wrong and the dialog stays open for another try.
#ifndef QUILLORY_CPASSWORD_DIALOG_H
#define QUILLORY_CPASSWORD_DIALOG_H

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quillory {

class PromptPort;

class CPasswordDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPasswordDialog(PromptPort& prompt, QWidget* parent = nullptr);

    QLineEdit* passwordEdit() const { return edit_; }
    QPushButton* okButton() const { return ok_; }

public slots:
    void accept() override;

private:
    PromptPort& prompt_;
    QLineEdit* edit_;
    QPushButton* ok_;
};

}  // namespace quillory

#endif
