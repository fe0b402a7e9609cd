// The data file writer, checked against files laid out by hand.
#include <QDir>

#include <csignal>
#include <sys/resource.h>

#include "CDataFileTable.h"
#include "DataFileTestSupport.h"

namespace quillory::test {
namespace {

const QByteArray kDate = Raw("03/03/26\0\0\0\0");

class DataFileTableTest : public quillorytest::PrinterFolderTest {
protected:
    QString Target() const { return Path("out.dat"); }

    QByteArray WriteTable() {
        EXPECT_TRUE(table.WriteDataFile(Target(), prompt));
        EXPECT_TRUE(prompt.shown.empty()) << ::testing::PrintToString(prompt.Texts());
        return Read(Target());
    }

    FixedClock clock{{2026, 3, 3}};
    RecordingPrompt prompt;
    CDataFileTable table;
};

// Record 2 is blank, so it ends the count, but record 3 is written as it
// stands. A record's field count is its leading run of set fields, but 7 for
// a full record.
TEST_F(DataFileTableTest, CountsStopAtTheFirstBlankRecordAndFieldButLaterOnesAreWrittenAsTheyStand) {
    table.databaseName = "  Stock\t";
    table.fields[0] = {"a", " b "};
    table.fields[1] = {"\tc\r\n", "2", "3", "4", "5", "6", "7", "8"};
    table.fields[2] = {" ", "\t", "", "\v\f"};
    table.fields[3] = {" d", " ", "", "x"};

    QByteArray expected = BlankDataFile(2, Raw("Stock\0\0\0\0"), kDate);
    Put(expected, 36, "a");    // record 0, field 0
    Put(expected, 69, "b");    // record 0, field 1
    Put(expected, 300, "c");   // record 1, field 0 (36 + 8 * 33)
    for (int field = 1; field < 8; ++field) Put(expected, 300 + 33 * field, QByteArray::number(field + 1));
    Put(expected, 828, " d");  // record 3, field 0 (36 + 3 * 264), untrimmed
    Put(expected, 861, " ");   // record 3, field 1
    Put(expected, 927, "x");   // record 3, field 3
    Put(expected, 26436, Raw("\x02\x07\x00\x02"));
    EXPECT_TRUE(SameBytes(WriteTable(), expected));
}

// A blank name or a folder in the way: nothing is created
// and nothing that was there is touched.
TEST_F(DataFileTableTest, ABlankNameOrATargetThatCannotBeOpenedIsReportedAndLeftAlone) {
    table.databaseName = " \t\r\n\v\f";
    EXPECT_FALSE(table.WriteDataFile(Target(), prompt));
    EXPECT_FALSE(QFile::exists(Target()));

    ASSERT_TRUE(QDir(scratch.path()).mkpath("out.dat/inside"));
    table.databaseName = "n";
    EXPECT_FALSE(table.WriteDataFile(Target(), prompt));

    EXPECT_EQ(prompt.Texts(), (Texts{"Enter a name for database.", "Error opening new file."}));
    EXPECT_TRUE(QFileInfo(Path("out.dat/inside")).isDir());
}

// The file size limit makes the write fail part way, as a full disk would
// (root ignores folder permissions, so a read-only folder proves nothing).
TEST_F(DataFileTableTest, FailedWriteLeavesExistingFileByteIdentical) {
    const QByteArray good = BlankDataFile(7, "GOODFILE!", Raw("01/01/20\0\0\0\0"));
    Write(Target(), good);
    table.databaseName = "n";
    table.fields[0] = {"new"};

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 16384;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = table.WriteDataFile(Target(), prompt);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(prompt.Texts(), Texts{"Error writing new data file."});
    EXPECT_TRUE(SameBytes(Read(Target()), good));
    EXPECT_EQ(QDir(scratch.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.dat"});
}

}  // namespace
}  // namespace quillory::test
