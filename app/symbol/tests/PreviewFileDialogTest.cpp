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
        // Black ink on the left half, white paper on the right.
        quillorytest::Bytes black = Bmp().Depth(1, quillorytest::BlackAndWhite()).File();
        for (size_t row = 0; row < kSymbolSide; ++row) {
            for (size_t at = 9; at < 20; ++at) black[62 + row * 20 + at] = 0xFF;
        }
        qv7test::WriteBytes(folder / "half.bmp", black);
        qv7test::WriteBytes(folder / "tall.bmp", Bmp().Size(150, 151).Depth(1, Table(2)).File());
        qv7test::WriteBytes(folder / "notes.bmp", {'h', 'e', 'l', 'l', 'o'});
        std::filesystem::create_directory(folder / "more");
        qv7test::WriteBytes(folder / "more/half.bmp", black);
        dialog.setDirectory(QString::fromStdString(folder.path()));
        dialog.show();
        QCoreApplication::processEvents();
        source.loaded.clear();
    }

    // As a click on the file in the dialog's list does.
    void Select(const std::string& name) {
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        auto* model = dialog.findChild<QFileSystemModel*>();
        list->setCurrentIndex(model->index(QString::fromStdString(folder / name)));
    }

    void EnterFolder(const std::string& name) {
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        auto* model = dialog.findChild<QFileSystemModel*>();
        emit list->activated(model->index(QString::fromStdString(folder / name)));
    }

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
    CPreviewFileDialog dialog{&source,
                              true,
                              QStringLiteral("bmp"),
                              QStringLiteral("*.bmp"),
                              kBrowseFlags,
                              QStringLiteral("Bitmap Files (*.bmp)|*.bmp|"),
                              nullptr};
};

TEST_F(PreviewFileDialogTest, ShowsTheSelectedSymbolInsideItsSunkenFrame) {
    ASSERT_NE(dialog.previewPane(), nullptr);
    EXPECT_EQ(dialog.previewRect().size(), QSize(150, 150));
    Select("half.bmp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(source.acceptable());
    EXPECT_EQ(PreviewPixel(20, 75), qRgb(0, 0, 0));
    EXPECT_EQ(PreviewPixel(130, 75), qRgb(255, 255, 255));
    const QPalette& colours = dialog.previewPane()->palette();
    EXPECT_EQ(PreviewPixel(0, 75), colours.color(QPalette::Dark).rgb()) << "the left edge is in shadow";
    EXPECT_EQ(PreviewPixel(149, 75), colours.color(QPalette::Light).rgb()) << "the right edge is lit";
    EXPECT_EQ(PreviewPixel(1, 75), qRgb(0, 0, 0)) << "the image starts inside the frame";

    Select("notes.bmp");
    EXPECT_TRUE(prompt.shown.empty()) << "a file that is no bitmap is not judged";
    EXPECT_TRUE(source.acceptable());
    EXPECT_EQ(PreviewPixel(20, 75), Background());
}

TEST_F(PreviewFileDialogTest, AWrongSizeIsToldAtEachSelectionAndStillShown) {
    const quillorytest::ShownMessage sizeMessage{kSymbolSizeMessage, MessageIcon::None, MessageButtons::Ok};
    Select("tall.bmp");
    EXPECT_EQ(prompt.shown, std::vector<quillorytest::ShownMessage>{sizeMessage});
    EXPECT_FALSE(source.acceptable());
    EXPECT_EQ(PreviewPixel(75, 75), qRgb(0, 0, 0)) << "the rejected bitmap is still previewed";

    Select("half.bmp");
    EXPECT_TRUE(source.acceptable());
    Select("tall.bmp");
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_FALSE(source.acceptable());
}

TEST_F(PreviewFileDialogTest, EnteringAFolderClearsThePreviewAndIgnoresTheSelectionItClears) {
    Select("half.bmp");
    ASSERT_EQ(PreviewPixel(20, 75), qRgb(0, 0, 0));

    EnterFolder("more");
    EXPECT_EQ(source.loaded, (QStringList{QStringLiteral("half.bmp"), QString()}))
        << "one load to clear the image, none for the selection Qt clears with the folder";
    EXPECT_EQ(PreviewPixel(20, 75), Background());

    QCoreApplication::processEvents();
    Select("more/half.bmp");
    EXPECT_EQ(PreviewPixel(20, 75), qRgb(0, 0, 0)) << "the user's own first selection counts";
}

}  // namespace
