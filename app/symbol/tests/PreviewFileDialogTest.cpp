// The symbol browse dialog, offscreen: what its preview pane shows while the
// user selects files and changes folders.
#include <QCoreApplication>
#include <QFileSystemModel>
#include <QListView>

#include <gtest/gtest.h>

#include <filesystem>

#include "BitmapFiles.h"
#include "CBitmapPreviewSource.h"
#include "CPreviewFileDialog.h"
#include "ScriptedPorts.h"
#include "SymbolFiles.h"
#include "TempFolder.h"

namespace {

using namespace quillory;
using quillorytest::Bmp;
using quillorytest::Table;

constexpr unsigned kBrowseFlags = kHideReadOnly | kNoChangeDir | kPathMustExist | kFileMustExist;

// The preview source of the program, remembering the paths it was given.
class LoggingSource : public CBitmapPreviewSource {
public:
    using CBitmapPreviewSource::CBitmapPreviewSource;
    void Load(const QString& path) override {
        loaded << QFileInfo(path).fileName();
        CBitmapPreviewSource::Load(path);
    }
    QStringList loaded;
};

class PreviewFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const quillorytest::Bytes black = Bmp{150, 150, 1, quillorytest::BlackAndWhite()}.File();
        qv7test::WriteBytes(folder / "black.bmp", black);
        qv7test::WriteBytes(folder / "tall.bmp", Bmp{150, 151, 1, Table(2)}.File());
        qv7test::WriteBytes(folder / "notes.bmp", {'h', 'e', 'l', 'l', 'o'});
        std::filesystem::create_directory(folder / "more");
        qv7test::WriteBytes(folder / "more/black.bmp", black);
        dialog.setDirectory(QString::fromStdString(folder.path()));
        dialog.show();
        QCoreApplication::processEvents();
        source.loaded.clear();
    }

    QModelIndex Index(const std::string& name) {
        return dialog.findChild<QFileSystemModel*>()->index(QString::fromStdString(folder / name));
    }
    QListView* List() { return dialog.findChild<QListView*>(QStringLiteral("listView")); }
    // As a click on a file, and a double click on a folder, in the dialog's list do.
    void Select(const std::string& name) { List()->setCurrentIndex(Index(name)); }
    void EnterFolder(const std::string& name) { emit List()->activated(Index(name)); }

    // The pane as the user sees it, at a point inside the frame.
    QRgb Background() const { return dialog.previewPane()->palette().color(QPalette::Window).rgb(); }

    QRgb PreviewPixel(int x, int y) {
        const QImage pane = dialog.previewPane()->grab().toImage();
        const QRect frame = dialog.previewRect();
        return pane.pixel(frame.x() + x, frame.y() + y);
    }

    qv7test::TempFolder folder;
    quillorytest::RecordingPrompt prompt;
    LoggingSource source{prompt};
    CPreviewFileDialog dialog{&source, true, QStringLiteral("bmp"), QStringLiteral("*.bmp"), kBrowseFlags,
                              QStringLiteral("Bitmap Files (*.bmp)|*.bmp|"), nullptr};
};

// A wrong size is told at each selection, and the bitmap still shown.
TEST_F(PreviewFileDialogTest, ShowsTheSelectedSymbolAndJudgesItsSizeButLeavesAFileThatIsNoBitmapUnjudged) {
    ASSERT_NE(dialog.previewPane(), nullptr);
    Select("black.bmp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(source.acceptable());
    EXPECT_EQ(PreviewPixel(75, 75), qRgb(0, 0, 0));

    Select("notes.bmp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(source.acceptable());
    EXPECT_EQ(PreviewPixel(75, 75), Background());

    Select("tall.bmp");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{kSymbolSizeMessage});
    EXPECT_FALSE(source.acceptable());
    EXPECT_EQ(PreviewPixel(75, 75), qRgb(0, 0, 0)) << "the rejected bitmap is still previewed";
}

TEST_F(PreviewFileDialogTest, EnteringAFolderClearsThePreviewAndIgnoresTheSelectionItClears) {
    Select("black.bmp");
    ASSERT_EQ(PreviewPixel(75, 75), qRgb(0, 0, 0));

    EnterFolder("more");
    EXPECT_EQ(source.loaded, (QStringList{QStringLiteral("black.bmp"), QString()}))
        << "one load to clear the image, none for the selection Qt clears with the folder";
    EXPECT_EQ(PreviewPixel(75, 75), Background());

    QCoreApplication::processEvents();
    Select("more/black.bmp");
    EXPECT_EQ(PreviewPixel(75, 75), qRgb(0, 0, 0)) << "the user's own first selection counts";
}

}  // namespace
