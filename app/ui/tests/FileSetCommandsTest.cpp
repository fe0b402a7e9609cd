// "Get all files..." and "Send file set..." from the menu, with their dialogs
// answered through the event loop and the boxes from the script.
#include <QLineEdit>

#include "CFolderEdit.h"
#include "FileSetDialogs.h"
#include "ProgramFixture.h"
#include "StringTable.h"

namespace {

using namespace quillory;
using quillorytest::ProgramTest;

class FileSetCommands : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WritePrinterFile("printer.txt", "driver-version 3\ntype DAT 2\ntype QV7 3\ntype MAP 1\n");
        WritePrinterFile("slots/DAT/02.name", "PRICES\n");
        WritePrinterFile("slots/DAT/02.data", QByteArray(14, 'p') + "\xA5" + QByteArray(9, 'p'));
        WritePrinterFile("slots/QV7/03.name", "SHIP\n");
        WritePrinterFile("slots/QV7/03.data", "ship label");
        WritePrinterFile("../machine.conf", "dir=" QUILLORY_TEST_PROGRAM_DIR "\n");
        qputenv("QUILLORY_MACHINE_SETTINGS", Path("machine.conf").toUtf8());
        QDir().mkpath(Path("out"));
        Start();
    }
};

TEST_F(FileSetCommands, GetAllAsksBeforeOverwritingThenTheSetGoesBackFromTheMenu) {
    WhenOpen<CGetAllFilesDialog>([&](CGetAllFilesDialog& dialog) {
        dialog.folderEdit()->field()->setText(Path("out"));
        prompt.answers = {MessageAnswer::No};
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible()) << "No keeps the dialog open";
        EXPECT_EQ(dialog.folderEdit()->field()->text(), Path("out"));
        prompt.answers = {MessageAnswer::Yes};
        dialog.accept();
    });
    frame()->SendCommand(ID_FILE_GET_ALL_FILES);
    EXPECT_EQ(prompt.Texts().back(), "All files received successfully!");
    EXPECT_TRUE(QFile::exists(Path("out/2_PRICES.dat")));
    EXPECT_TRUE(QFile::exists(Path("out/3_SHIP.qv7")));

    QFile::remove(Path("printer/slots/QV7/03.data"));
    QFile::remove(Path("printer/slots/QV7/03.name"));
    prompt.shown.clear();
    WhenOpen<CSendFileSetDialog>([&](CSendFileSetDialog& dialog) {
        dialog.pathEdit()->setText(Path("out/allFiles.fsd"));
        dialog.accept();
    });
    frame()->SendCommand(ID_FILE_SEND_FILE_SET);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"File set sent sucessfully!"});
    EXPECT_EQ(Read(Path("printer/slots/QV7/03.data")), "ship label");
    // The printer names a slot after what it was sent; the tree shows the new name.
    EXPECT_EQ(folderItem(FileKind::Label)->child(2)->text(0), "(Slot 3)  Label03.qv7");
}

TEST_F(FileSetCommands, ACancelledSendFileSetStillReadsTheTreeAfresh) {
    ASSERT_TRUE(frame()->action(ID_FILE_SEND_FILE_SET)->isEnabled());
    view()->setCurrentItem(folderItem(FileKind::Data)->child(1));
    WhenOpen<CSendFileSetDialog>([](CSendFileSetDialog& dialog) { dialog.reject(); });
    frame()->SendCommand(ID_FILE_SEND_FILE_SET);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(view()->selectedItems().isEmpty()) << "Refresh made the items anew";
}

}  // namespace
