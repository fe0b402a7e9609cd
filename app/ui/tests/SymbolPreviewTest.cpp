// The symbol preview beside the tree, "Save symbol file to PC..." and the
// sample symbols a new user starts with, in the real program offscreen.
#include <QDir>

#include "BitmapFiles.h"
#include "CDibImage.h"
#include "PlatformPaths.h"
#include "ProgramFixture.h"
#include "StringTable.h"
#include "SymbolFiles.h"

namespace {

using namespace quillory;

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);

class SymbolPreview : public quillorytest::RunningProgramTest {
protected:
    void SetUp() override {
        RunningProgramTest::SetUp();
        frame()->resize(640, 640);  // room for the whole preview at x 250
    }

    // An all-black symbol in the preview cache, as if just fetched.
    void CacheSymbol() {
        const quillorytest::Bytes bytes = quillorytest::Bmp{150, 150, 1, quillorytest::BlackAndWhite()}.File();
        QFile cache(SymbolPreviewCacheFile());
        ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
        cache.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }

    QRgb Pixel(int x, int y) const { return view()->viewport()->grab().toImage().pixel(x, y); }
};

TEST_F(SymbolPreview, ShowsTheSymbolAtThreeQuartersAndErasesItsFullSize) {
    view()->ShowPreviewAt(149, true);
    EXPECT_EQ(Pixel(250, 149), kWhite) << "nothing to draw without a cache file";
    CacheSymbol();
    view()->ShowPreviewAt(149, true);
    EXPECT_EQ(view()->previewArea(), QRect(250, 149, 112, 112)) << "150 * 3 / 4 = 112 pixels";
    EXPECT_EQ(Pixel(250 + 111, 149 + 111), kBlack);

    view()->SetPreviewedItemText(QStringLiteral("(Slot 1)  Btmap01.bmp"));
    view()->ErasePreview();
    EXPECT_EQ(Pixel(250 + 111, 149 + 111), kWhite);
    EXPECT_TRUE(view()->previewedItemText().isEmpty());

    view()->RedrawPreview();
    EXPECT_EQ(Pixel(250, 149), kWhite) << "nothing to redraw once the item is forgotten";
    view()->SetPreviewedItemText(QStringLiteral("(Slot 1)  Btmap01.bmp"));
    view()->RedrawPreview();
    EXPECT_EQ(Pixel(250, 149), kBlack);
    EXPECT_TRUE(view()->previewedItemText().isEmpty());

    view()->ShowPreviewAt(20, false);
    EXPECT_EQ(Pixel(250, 149), kWhite) << "the old preview goes even when nothing new was fetched";
    EXPECT_EQ(view()->previewY(), 149);
}

TEST_F(SymbolPreview, SaveSymbolFileCopiesTheCacheUnderTheItemsNameAndReportsOnlyFailure) {
    CacheSymbol();
    QTreeWidgetItem* slot3 = folderItem(FileKind::Symbol)->child(2);
    view()->setCurrentItem(slot3);
    files.answers = {Path("Btmap03.bmp"), Path("missing/Btmap03.bmp")};

    frame()->SendCommand(ID_FILE_SAVE_SYMBOL);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].ends_with("|Btmap03.bmp")) << "the item's name is proposed";
    EXPECT_EQ(Read(Path("Btmap03.bmp")), Read(SymbolPreviewCacheFile()));
    EXPECT_TRUE(prompt.shown.empty());

    frame()->SendCommand(ID_FILE_SAVE_SYMBOL);
    EXPECT_EQ(prompt.shown, (std::vector<quillorytest::ShownMessage>{
                                {"Error saving symbol file!", MessageIcon::Exclamation, MessageButtons::Ok}}));
}

TEST_F(SymbolPreview, ANewUserFindsTheSampleSymbolsButAnEmptiedFolderStaysEmpty) {
    QDir symbols(PlatformPaths::SymbolFolder());
    const QStringList samples = symbols.entryList({QStringLiteral("*.bmp")});
    EXPECT_EQ(samples, QDir(SampleSymbolFolder()).entryList({QStringLiteral("*.bmp")}));
    EXPECT_GE(samples.size(), 3);
    for (const QString& name : samples) {
        CDibImage image;
        EXPECT_TRUE(image.LoadFromFile(symbols.filePath(name)) && image.width() == 150 && image.height() == 150)
            << name.toStdString();
        symbols.remove(name);
    }
    Restart();
    EXPECT_TRUE(symbols.entryList({QStringLiteral("*.bmp")}).isEmpty());
}

}  // namespace
