// "Save symbol file to PC..." and the sample symbols a new user starts with,
// in the real program offscreen.
#include <QDir>

#include "CDibImage.h"
#include "PlatformPaths.h"
#include "ProgramFixture.h"
#include "StringTable.h"
#include "SymbolFiles.h"

namespace {

using namespace quillory;

class SymbolPreview : public quillorytest::RunningProgramTest {};

TEST_F(SymbolPreview, SaveSymbolFileCopiesTheCacheUnderTheItemsNameAndReportsOnlyFailure) {
    Write(SymbolPreviewCacheFile(), "BM as just fetched");
    view()->setCurrentItem(folderItem(FileKind::Symbol)->child(2));
    files.answers = {Path("Btmap03.bmp"), Path("missing/Btmap03.bmp")};

    frame()->SendCommand(ID_FILE_SAVE_SYMBOL);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].ends_with("|Btmap03.bmp")) << "the item's name is proposed";
    EXPECT_EQ(Read(Path("Btmap03.bmp")), Read(SymbolPreviewCacheFile()));
    EXPECT_TRUE(prompt.shown.empty());

    frame()->SendCommand(ID_FILE_SAVE_SYMBOL);
    ASSERT_EQ(prompt.shown.size(), 1u) << "a failed save is told";
    EXPECT_EQ(prompt.shown[0].icon, MessageIcon::Exclamation);
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
