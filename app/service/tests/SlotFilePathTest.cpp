// Stored names from the printer turned into paths on the PC.
#include <gtest/gtest.h>

#include "SlotFilePath.h"

namespace {

using quillory::BuildSlotFilePath;
using quillory::FileKind;

// The commands that fetch a file show the folder and the extension; here,
// which names are taken at all.
TEST(SlotFilePath, NamesThatAreNotPlainFileNamesAreRefused) {
    QString taken;
    ASSERT_TRUE(BuildSlotFilePath("/tmp/get/", "..x", FileKind::Label, &taken)) << "dots inside a name are harmless";
    EXPECT_EQ(taken, "/tmp/get/..x.qv7");
    const char* refused[] = {"", ".", "..", "../x", "a/b", "/etc", "..\\x", "a\\b", "tab\there", "nl\n", "del\x7f"};
    for (const char* name : refused) {
        QString path = "untouched";
        EXPECT_FALSE(BuildSlotFilePath("/tmp/get", QString::fromLatin1(name), FileKind::Data, &path)) << name;
        EXPECT_EQ(path, "untouched") << name;
    }
    // Names that pass for others: CSI (U+009B) that starts a terminal escape,
    // a right-to-left override that shows 7_A<RLO>TXT.qv7 as 7_Avq7.TXT, a
    // zero-width space, an invisible tag character, half a surrogate pair.
    const QString disguised[] = {QString::fromUtf8("\u009b31m"), QString::fromUtf8("A\u202eTXT"),
                                 QString::fromUtf8("PRI\u200bCES"), QString::fromUtf8("X\U000E0001Y"),
                                 QString(QChar(0xD800)) + "x"};
    for (const QString& name : disguised) {
        QString path;
        EXPECT_FALSE(BuildSlotFilePath("/tmp/get", name, FileKind::Data, &path)) << name.toStdString();
    }
    EXPECT_TRUE(quillory::IsPlainFileName(QString::fromUtf8("Caf\u00e9 \U0001F600"))) << "letters and emoji are seen";
    EXPECT_EQ(quillory::UnusableStoredNameMessage(QString::fromUtf8("a\nb\u009b\u202e\U000E0001")),
              "The printer's file name \"a\\x0ab\\x9b\\u202e\\U000e0001\" cannot be used as a file name on this "
              "PC.\nNothing was saved.");
}

}  // namespace
