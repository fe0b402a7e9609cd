#include "SymbolSourceChooser.h"

#include <QFileInfo>

#include "CBitmapPreviewSource.h"
#include "CPreviewFileDialog.h"

namespace quillory {

namespace {

const char kBitmapFilter[] = "Bitmap Files (*.bmp)|*.bmp|";
const char kBitmapExtension[] = "bmp";

// Browses with the symbol preview beside the file list. The preview source
// lives as long as the send dialog that owns this chooser, and whether the
// last file it loaded is 150 x 150 pixels decides OK.
class PreviewSymbolChooser : public SymbolSourceChooser {
public:
    explicit PreviewSymbolChooser(PromptPort& prompt) : source_(prompt) {}

    bool Browse(QWidget* owner, const QString& title, const QString& startPath, QString* path) override {
        CPreviewFileDialog dialog(&source_, true, QLatin1String(kBitmapExtension), QStringLiteral("*.bmp"),
                                  kHideReadOnly | kNoChangeDir | kPathMustExist | kFileMustExist,
                                  QLatin1String(kBitmapFilter), owner);
        dialog.setWindowTitle(title);
        if (!startPath.isEmpty()) {
            const QFileInfo start(startPath);
            dialog.setDirectory(start.isDir() ? start.filePath() : start.path());
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
        *path = dialog.selectedFiles().first();
        return true;
    }
    bool IsAcceptable() const override { return source_.acceptable(); }

private:
    CBitmapPreviewSource source_;
};

}  // namespace

std::unique_ptr<SymbolSourceChooser> MakeSymbolSourceChooser(PromptPort& prompt, FileChoicePort&) {
    return std::make_unique<PreviewSymbolChooser>(prompt);
}

}  // namespace quillory
