// The bitmap reader over files the tests write, the fitting of an image into
// a box, and saving the preview cache under a chosen name.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

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

const Bmp kMono = Bmp().Depth(1, Table(2)).Top({0x80});
const Bmp kLongHeader = kMono.Size(8, 2).Extra({0, 0, 0, 0, 0xFF, 0, 0, 0});

INSTANTIATE_TEST_SUITE_P(
    Files, DibReading,
    ::testing::Values(
        ReadCase{"Mono150", kMono.File(), true, {0, 0}, Entry(1)},
        ReadCase{"Mono150SecondPixel", kMono.File(), true, {1, 0}, Entry(0)},
        ReadCase{"Four150", Bmp().Depth(4, Table(16)).Top({0x5A}).File(), true, {1, 0}, Entry(10)},
        ReadCase{"Eight150", Bmp().Depth(8, Table(256)).Top({0, 200}).File(), true, {1, 0}, Entry(200)},
        ReadCase{
            "Rgb150", Bmp().Depth(24).Top({0, 0, 0, 0x10, 0x20, 0x30}).File(), true, {1, 0}, qRgb(0x30, 0x20, 0x10)},
        ReadCase{"Rgb16", Bmp().Size(4, 4).Depth(16).Top({0x1F, 0x7C}).File(), true, {0, 0}, qRgb(0xFF, 0, 0xFF)},
        ReadCase{"Rgb32", Bmp().Size(4, 4).Depth(32).Top({1, 2, 3, 4}).File(), true, {0, 0}, qRgb(3, 2, 1)},
        // 33 pixels take 33 bits, so rows are 8 bytes apart; pixel 32 starts the fifth byte.
        ReadCase{"OddWidthTopRow", kMono.Size(33, 2).Top({0, 0, 0, 0, 0x80}).File(), true, {32, 0}, Entry(1)},
        ReadCase{"OddWidthBottomRow", kMono.Size(33, 2).Top({0, 0, 0, 0, 0x80}).File(), true, {32, 1}, Entry(0)},
        // Colours come from the 8 bytes after the first 40 header bytes (so
        // entry 1 is blue), pixels from the file header's offset.
        ReadCase{"LongerHeader", kLongHeader.File(), true, {0, 0}, qRgb(0, 0, 0xFF)},
        ReadCase{"NoBM", kMono.Magic("BA").File(), false},
        ReadCase{"NegativeWidth", kMono.Size(-150, 150).File(), false},
        ReadCase{"NegativeHeight", kMono.Size(150, -150).File(), false},
        ReadCase{"ShortFileHeader", Cut(kMono.File(), 10), false},
        ReadCase{"ShortInfoHeader", Cut(kMono.File(), 30), false},
        ReadCase{"ShortColourTable", Cut(kMono.File(), 58), false},
        ReadCase{"ShortPixelRows", Cut(kMono.File(), kMono.File().size() - 1), false},
        ReadCase{"PixelsOverflow32Bits", Bmp().Size(0x7FFFFFFF, 0x7FFFFFFF).Depth(32).File(), false},
        ReadCase{"PixelsBeyondTheFile", Bmp().Size(20000, 20000).Depth(24).File(), false}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(DibImage, ReadingAgainFreesTheImageEvenWhenItFails) {
    qv7test::TempFolder folder;
    qv7test::WriteBytes(folder / "in.bmp", kMono.File());
    CDibImage image;
    ASSERT_TRUE(image.LoadFromFile(QString::fromStdString(folder / "in.bmp")));
    EXPECT_EQ(image.stride(), 20u);
    EXPECT_FALSE(image.LoadFromFile(QString::fromStdString(folder / "missing.bmp")));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.width(), 0);
}

TEST(FitRect, CentresAndShrinksButNeverEnlarges) {
    quillorytest::RecordingPrompt prompt;
    CBitmapPreviewSource source(prompt);
    EXPECT_EQ(source.FitRect(150, 150, 148, 148), (PreviewRect{0, 0, 148, 148}));
    EXPECT_EQ(source.FitRect(60, 30, 148, 148), (PreviewRect{44, 59, 104, 89}));
    EXPECT_EQ(source.FitRect(30, 60, 148, 148), (PreviewRect{59, 44, 89, 104}));
    EXPECT_EQ(source.FitRect(300, 100, 148, 148), (PreviewRect{0, 49, 148, 98}));
    EXPECT_EQ(source.FitRect(0, 0, 148, 148), (PreviewRect{74, 74, 74, 74}));
}

TEST(BitmapPreviewSource, DrawsTheImageFittedAtTheBoxAndNothingWithoutOne) {
    qv7test::TempFolder folder;
    // 60 x 30, white but for its top left pixel.
    Bytes file = Bmp().Size(60, 30).Depth(24).File();
    std::fill(file.begin() + 54, file.end(), 0xFF);
    std::fill(file.end() - 180, file.end() - 177, 0x00);
    qv7test::WriteBytes(folder / "in.bmp", file);
    quillorytest::RecordingPrompt prompt;
    CBitmapPreviewSource source(prompt);
    QImage canvas(150, 150, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter painter(&canvas);

    EXPECT_EQ(source.Draw(painter, 1, 1, 148, 148), 0);
    source.Load(QString::fromStdString(folder / "in.bmp"));
    EXPECT_EQ(source.Draw(painter, 1, 1, 148, 148), 30);
    painter.end();
    EXPECT_EQ(canvas.pixel(45, 60), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(46, 60), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(104, 89), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(105, 89), QColor(Qt::gray).rgb());
    EXPECT_EQ(canvas.pixel(104, 90), QColor(Qt::gray).rgb());
    EXPECT_FALSE(source.acceptable());
}

TEST(SaveSymbolCopy, ReplacesTheTargetOrLeavesItWhole) {
    qv7test::TempFolder folder;
    const QString cache = QString::fromStdString(folder / "cache.bmp");
    const QString target = QString::fromStdString(folder / "Btmap03.bmp");
    qv7test::WriteBytes(folder / "Btmap03.bmp", {1, 2, 3});
    qv7test::WriteBytes(folder / "cache.bmp", kMono.File());

    ASSERT_TRUE(SaveSymbolCopy(cache, target));
    EXPECT_EQ(qv7test::ReadBytes(folder / "Btmap03.bmp"), kMono.File());

    qv7test::WriteBytes(folder / "Btmap03.bmp", {1, 2, 3});
    EXPECT_FALSE(SaveSymbolCopy(QString::fromStdString(folder / "gone.bmp"), target));
    EXPECT_FALSE(SaveSymbolCopy(cache, QString::fromStdString(folder / "no-such-folder/x.bmp")));
    EXPECT_EQ(qv7test::ReadBytes(folder / "Btmap03.bmp"), (Bytes{1, 2, 3}));
    EXPECT_EQ(folder.Entries().size(), 2u) << "no temporary file is left behind";
}

}  // namespace
