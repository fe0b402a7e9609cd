// "Save as CSV..." on a virtual printer: the get job into a temporary folder,
// then the conversion into the file the user chose.
#include <QDir>

#include "CsvConversion.h"
#include "DataFileTestSupport.h"
#include "SaveAsCsvCommand.h"
#include "ScriptedFileChoice.h"

namespace quillory::test {
namespace {

class SaveAsCsvCommand : public quillorytest::VirtualPrinterService {
protected:
    void SetUp() override {
        VirtualPrinterService::SetUp();
        ASSERT_TRUE(QDir().mkpath(Path("tmp")));
        qputenv("TMPDIR", Path("tmp").toUtf8());
    }
    void TearDown() override {
        qunsetenv("TMPDIR");
        VirtualPrinterService::TearDown();
    }

    QStringList LeftInTemporaryFolder() const {
        return QDir(Path("tmp")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    quillorytest::ScriptedFileChoice files;
};

TEST_F(SaveAsCsvCommand, FetchesTheSlotThroughTheGetJobAndLeavesOnlyTheCsvFile) {
    EXPECT_FALSE(SaveDataSlotAsCsv(service, 1, files, nullptr));
    EXPECT_TRUE(windows.log.empty()) << "a cancelled choice fetches nothing";

    files.answers = {Path("prices.csv")};
    bool busyDuringTransfer = false;
    windows.onPump = [&] { busyDuringTransfer = service.IsTransferInProgress(); };
    ASSERT_TRUE(SaveDataSlotAsCsv(service, 1, files, nullptr)) << ::testing::PrintToString(prompt.Texts());
    EXPECT_TRUE(busyDuringTransfer);
    EXPECT_TRUE(files.asked.back().ends_with("|PRICES")) << "the slot's name is proposed";
    EXPECT_EQ(windows.log.front(), "create Initializing data file transfer...|Receiving data file PRICES.dat...");
    EXPECT_TRUE(Read(Path("prices.csv")).startsWith("1001,Granny Smith apples,1.89,kg,5012345678900\r\n"
                                                    "1002,Bananas,1.29,kg,5012345678917\r\n"));

    // A failed get, and an empty slot: said, and nothing written.
    Write(Path("printer/faults.txt"), "short-read 2 10\n");
    files.answers = {Path("stock.csv")};
    EXPECT_FALSE(SaveDataSlotAsCsv(service, 2, files, nullptr));
    EXPECT_FALSE(SaveDataSlotAsCsv(service, 4, files, nullptr));
    EXPECT_EQ(prompt.Texts(), (Texts{"Error receiving data file!", "Please select a valid source file"}));
    EXPECT_FALSE(QFile::exists(Path("stock.csv")));
    EXPECT_TRUE(LeftInTemporaryFolder().isEmpty()) << LeftInTemporaryFolder().join(' ').toStdString();
}

}  // namespace
}  // namespace quillory::test
