// The bitmap reader over files the tests write, the fitting of an image into
// a box, and saving the preview cache under a chosen name.
#include <gtest/gtest.h>
#include <unistd.h>

#include "BitmapFiles.h"
#include "CBitmapPreviewSource.h"
#include "CDibImage.h"
#include "ScriptedPorts.h"
#include "SymbolFiles.h"
#include "TempFolder.h"

namespace {

using namespace quillory;
using quillorytest::Bmp;
using quillorytest::Bytes;
using quillorytest::Table;

QRgb Entry(int i) {
    return qRgb(3 * i % 256, 2 * i % 256, i);
}

Bytes Cut(Bytes file, size_t size) {
    file.resize(size);
    return file;
}

struct ReadCase {
    const char* name;
    Bytes file;
    bool read;
    QPoint pixel = {0, 0};
    QRgb colour = 0;
};

void PrintTo(const ReadCase& bitmap, std::ostream* out) { *out << bitmap.file.size() << " bytes"; }

class DibReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DibReading, ReadsWhatIsThereAndRefusesTheRest) {
    const ReadCase& c = GetParam();
    qv7test::TempFolder folder;
    qv7test::WriteBytes(folder / "in.bmp", c.file);
    CDibImage image;
    ASSERT_EQ(image.LoadFromFile(QString::fromStdString(folder / "in.bmp")), c.read);
    if (!c.read) {
        EXPECT_TRUE(image.IsEmpty());
        return;
    }
    ASSERT_TRUE(image.CanShow());
    EXPECT_EQ(image.PixelAt(c.pixel.x(), c.pixel.y()), c.colour);
}

const Bmp kMono{150, 150, 1, Table(2), {0x80}};
const Bmp kLongHeader{8, 2, 1, Table(2), {0x80}, {0, 0, 0, 0, 0xFF, 0, 0, 0}};

INSTANTIATE_TEST_SUITE_P(
    Files, DibReading,
    ::testing::Values(
        ReadCase{"Mono150", kMono.File(), true, {0, 0}, Entry(1)},
        ReadCase{"Four150", Bmp{150, 150, 4, Table(16), {0x5A}}.File(), true, {1, 0}, Entry(10)},
        ReadCase{"Eight150", Bmp{150, 150, 8, Table(256), {0, 200}}.File(), true, {1, 0}, Entry(200)},
        ReadCase{
            "Rgb150", Bmp{150, 150, 24, {}, {0, 0, 0, 0x10, 0x20, 0x30}}.File(), true, {1, 0}, qRgb(0x30, 0x20, 0x10)},
        ReadCase{"Rgb16", Bmp{4, 4, 16, {}, {0x1F, 0x7C}}.File(), true, {0, 0}, qRgb(0xFF, 0, 0xFF)},
        ReadCase{"Rgb32", Bmp{4, 4, 32, {}, {1, 2, 3, 4}}.File(), true, {0, 0}, qRgb(3, 2, 1)},
        // 33 pixels take 33 bits, so rows are 8 bytes apart; pixel 32 starts the fifth byte.
        ReadCase{"OddWidthTopRow", Bmp{33, 2, 1, Table(2), {0, 0, 0, 0, 0x80}}.File(), true, {32, 0}, Entry(1)},
        // Colours come from the 8 bytes after the first 40 header bytes (so
        // entry 1 is blue), pixels from the file header's offset.
        ReadCase{"LongerHeader", kLongHeader.File(), true, {0, 0}, qRgb(0, 0, 0xFF)},
        ReadCase{"NoBM", Bmp{150, 150, 1, Table(2), {}, {}, "BA"}.File(), false},
        ReadCase{"NegativeWidth", Bmp{-150, 150, 1, Table(2)}.File(), false},
        ReadCase{"ShortFileHeader", Cut(kMono.File(), 10), false},
        ReadCase{"ShortPixelRows", Cut(kMono.File(), kMono.File().size() - 1), false},
        ReadCase{"PixelsOverflow32Bits", Bmp{0x7FFFFFFF, 0x7FFFFFFF, 32}.File(), false},
        ReadCase{"PixelsBeyondTheFile", Bmp{100, 5000, 24}.File(), false}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

// A sparse file of 512 MiB whose header announces that many pixel bytes:
// more than any symbol file can be, so it is refused from the header alone;
// the preview shows nothing, but the size its header gives is still wrong.
TEST(DibReadingLimits, APixelBlockLargerThanAnySymbolIsRefusedFromTheHeader) {
    qv7test::TempFolder folder;
    const std::string path = folder / "huge.bmp";
    qv7test::WriteBytes(path, Bmp{16384, 16384, 16}.File());
    ASSERT_EQ(truncate(path.c_str(), (off_t{512} << 20) + 54), 0);
    CDibImage image;
    EXPECT_FALSE(image.LoadFromFile(QString::fromStdString(path)));
    quillorytest::RecordingPrompt prompt;
    CBitmapPreviewSource source(prompt);
    source.Load(QString::fromStdString(path));
    EXPECT_FALSE(source.acceptable());
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{kSymbolSizeMessage});
}

TEST(FitRect, CentresAndShrinksButNeverEnlarges) {
    quillorytest::RecordingPrompt prompt;
    CBitmapPreviewSource source(prompt);
    EXPECT_EQ(source.FitRect(150, 150, 148, 148), (PreviewRect{0, 0, 148, 148}));
    EXPECT_EQ(source.FitRect(60, 30, 148, 148), (PreviewRect{44, 59, 104, 89}));
    EXPECT_EQ(source.FitRect(300, 100, 148, 148), (PreviewRect{0, 49, 148, 98}));
    EXPECT_EQ(source.FitRect(0, 0, 148, 148), (PreviewRect{74, 74, 74, 74}));
}

// Replacing the target is driven through the program; a failed copy leaves it whole.
TEST(SaveSymbolCopy, AFailedCopyLeavesTheTargetWhole) {
    qv7test::TempFolder folder;
    const QString cache = QString::fromStdString(folder / "cache.bmp");
    const QString target = QString::fromStdString(folder / "Btmap03.bmp");
    qv7test::WriteBytes(folder / "Btmap03.bmp", {1, 2, 3});
    qv7test::WriteBytes(folder / "cache.bmp", kMono.File());

    EXPECT_FALSE(SaveSymbolCopy(QString::fromStdString(folder / "gone.bmp"), target));
    EXPECT_FALSE(SaveSymbolCopy(cache, QString::fromStdString(folder / "no-such-folder/x.bmp")));
    EXPECT_EQ(qv7test::ReadBytes(folder / "Btmap03.bmp"), (Bytes{1, 2, 3}));
    EXPECT_EQ(folder.Entries().size(), 2u) << "no temporary file is left behind";
}

}  // namespace
