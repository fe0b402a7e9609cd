// The open-file dialog of symbol browsing: an ordinary file dialog with a
// "Symbol Preview" pane beside it that shows the selected file while the user
// browses, through a preview source the caller lends it.
#ifndef QUILLORY_CPREVIEWFILEDIALOG_H
#define QUILLORY_CPREVIEWFILEDIALOG_H

#include <QFileDialog>

namespace quillory {

class CSymbolPreviewSource;

// Option flags of the program's file dialogs, with the values they have always had.
enum FileDialogFlag : unsigned {
    kOverwritePrompt = 0x0002,
    kHideReadOnly = 0x0004,
    kNoChangeDir = 0x0008,
    kPathMustExist = 0x0800,
    kFileMustExist = 0x1000,
};

class CPreviewFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // The source stays the caller's; the dialog only draws through it.
    // A file name with a wildcard ("*.bmp") selects nothing: the filter shows
    // those files already.
    CPreviewFileDialog(CSymbolPreviewSource* source, bool open, const QString& defaultExtension,
                       const QString& fileName, unsigned flags, const QString& filter, QWidget* parent);

    // The pane with the caption, the preview frame and the note; null when the
    // dialog has no room for it.
    QWidget* previewPane() const { return pane_; }
    // The preview frame, 150 x 150 pixels, in the pane's coordinates.
    QRect previewRect() const;

private:
    void OnInitDone();
    void OnFileNameChange(const QString& path);
    void OnFolderChange();

    CSymbolPreviewSource* source_;
    QWidget* pane_ = nullptr;
    // Set when the folder changes: the selection report that comes with it
    // names no file the user picked.
    bool folderJustChanged_ = false;
};

}  // namespace quillory

#endif
