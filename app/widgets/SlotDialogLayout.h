// What the send and get dialogs share in their look: a group box around one
// row, a Browse button beside a path, OK and Cancel at the bottom right, and
// the dialogs' size.
#ifndef QUILLORY_SLOT_DIALOG_LAYOUT_H
#define QUILLORY_SLOT_DIALOG_LAYOUT_H

class QBoxLayout;
class QDialog;
class QGroupBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

namespace quillory {

// A group box with the widgets side by side; the first takes the spare width.
QGroupBox* SlotDialogGroup(const QString& title, QWidget* first, QWidget* second = nullptr);

// "Browse..." for the path field beside it: as tall as the field, never the
// default button.
QPushButton* PathBrowseButton(QDialog* dialog, const QLineEdit& field);

// OK (the default button) and Cancel, wired to the dialog.
QBoxLayout* SlotDialogButtons(QDialog* dialog, QPushButton** ok, QPushButton** cancel);

// Wide as the dialogs always were, no taller than their contents; only the
// width can grow, for long paths.
void FixSlotDialogSize(QDialog* dialog);

}  // namespace quillory

#endif
