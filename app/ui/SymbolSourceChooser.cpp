#include "SymbolSourceChooser.h"

#include "FileChoicePort.h"

namespace quillory {

namespace {

const char kBitmapFilter[] = "Bitmap Files (*.bmp)|*.bmp|";
const char kBitmapExtension[] = "bmp";

// Chooses any bitmap, with no preview to object to its size.
class PlainSymbolChooser : public SymbolSourceChooser {
public:
    explicit PlainSymbolChooser(FileChoicePort& files) : files_(files) {}

    bool Browse(QWidget*, const QString& title, const QString& startPath, QString* path) override {
        const FileChoice choice{title, QLatin1String(kBitmapFilter), QLatin1String(kBitmapExtension), startPath};
        return files_.ChooseFileToOpen(choice, path);
    }
    bool IsAcceptable() const override { return true; }

private:
    FileChoicePort& files_;
};

}  // namespace

std::unique_ptr<SymbolSourceChooser> MakeSymbolSourceChooser(PromptPort&, FileChoicePort& files) {
    return std::make_unique<PlainSymbolChooser>(files);
}

}  // namespace quillory
