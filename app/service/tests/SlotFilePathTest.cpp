// Stored names from the printer turned into paths on the PC.
#include <gtest/gtest.h>

#include "SlotFilePath.h"

namespace {

using quillory::BuildSlotFilePath;
using quillory::FileKind;

TEST(SlotFilePath, PlainNamesBecomeFilesInTheChosenFolder) {
    QString path;
    ASSERT_TRUE(BuildSlotFilePath("/home/ann/labels", "STOCK", FileKind::Data, &path));
    EXPECT_EQ(path, "/home/ann/labels/STOCK.dat");
    ASSERT_TRUE(BuildSlotFilePath("/home/ann/labels/", "Label 7", FileKind::Label, &path));
    EXPECT_EQ(path, "/home/ann/labels/Label 7.qv7");
    ASSERT_TRUE(BuildSlotFilePath("/", "Btmap03", FileKind::Symbol, &path));
    EXPECT_EQ(path, "/Btmap03.bmp");
    ASSERT_TRUE(BuildSlotFilePath("/tmp", "..x", FileKind::Data, &path)) << "dots inside a name are harmless";
}

TEST(SlotFilePath, NamesThatAreNotPlainFileNamesAreRefused) {
    const char* refused[] = {"", ".", "..", "../x", "a/b", "/etc", "..\\x", "a\\b", "tab\there", "nl\n", "del\x7f"};
    for (const char* name : refused) {
        QString path = "untouched";
        EXPECT_FALSE(BuildSlotFilePath("/tmp/get", QString::fromLatin1(name), FileKind::Data, &path)) << name;
        EXPECT_EQ(path, "untouched") << name;
    }
    EXPECT_EQ(quillory::UnusableStoredNameMessage(QString::fromLatin1("a\nb")),
              "The printer's file name \"a\\x0ab\" cannot be used as a file name on this PC.\nNothing was saved.");
}

}  // namespace
