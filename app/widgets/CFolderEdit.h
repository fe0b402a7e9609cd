// A folder field: a line edit with a "Browse..." button at its right end that
// opens the platform's folder picker. The button's room is taken from the
// field's own width, so the pair fills exactly the place of one field.
#ifndef QUILLORY_CFOLDEREDIT_H
#define QUILLORY_CFOLDEREDIT_H

#include <QPushButton>
#include <QWidget>

#include <functional>

class QLineEdit;

namespace quillory {

class CFolderEdit;

// The field's button; its tooltip says what it does to the field.
class CBrowseButton : public QPushButton {
    Q_OBJECT
public:
    explicit CBrowseButton(CFolderEdit& owner);
};

// Asks the user for a folder: owner, title, the folder to start in. Returns
// the chosen folder, or an empty text when the user cancels.
using FolderPicker = std::function<QString(QWidget*, const QString&, const QString&)>;

class CFolderEdit : public QWidget {
    Q_OBJECT
public:
    explicit CFolderEdit(QWidget* parent = nullptr);

    // The picker's title, and options the dialog keeps with it (nothing here
    // reads them).
    void SetTitle(int options, const QString& pickerTitle);

    QLineEdit* field() const { return field_; }
    CBrowseButton* browseButton() const { return button_; }

    // Loads a folder as the field exchanges it: with one trailing separator
    // removed.
    void SetFolder(const QString& folder);

    // The platform's picker unless replaced (tests answer from a script).
    void SetFolderPicker(FolderPicker picker) { picker_ = std::move(picker); }
    // Opens the picker at the field's folder; a chosen folder replaces the text.
    void Browse();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* field_;
    CBrowseButton* button_;
    int options_ = 0;
    QString pickerTitle_;
    FolderPicker picker_;
};

}  // namespace quillory

#endif
