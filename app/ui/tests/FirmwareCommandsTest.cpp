// The Firmware menu and the restore keys, end to end: the real window, the
// real progress window, a virtual printer holding a 1 MiB firmware.
#include <QMenuBar>
#include <QToolBar>

#include "FirmwareOperations.h"
#include "ProgramFixture.h"
#include "ScriptedFirmwareChoices.h"
#include "StringTable.h"
#include "TempFolder.h"

namespace {

using namespace quillory;
using quillorytest::ProgramTest;

class FirmwareCommands : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        qputenv("QUILLORY_FIRMWARE_DIR", Path("images").toUtf8());
        QDir().mkpath(Path("images"));
        Start();
        frame()->firmware().SetChoices(choices);
    }
    void TearDown() override {
        qunsetenv("QUILLORY_FIRMWARE_DIR");
        ProgramTest::TearDown();
    }
    std::vector<uint8_t> Bytes(const char* name) const { return qv7test::ReadBytes(Path(name).toStdString()); }

    quillorytest::ScriptedFirmwareChoices choices;
};

TEST_F(FirmwareCommands, GetCurrentFirmwareSavesTheChosenFile) {
    files.answers = {Path("current.bin")};
    frame()->SendCommand(ID_FIRMWARE_GET_CURRENT);
    EXPECT_EQ(Bytes("current.bin"), Bytes("printer/firmware.bin"));
    EXPECT_EQ(Stored("FirmwareDownloadPath").toString(), Path("current.bin"));
}

TEST_F(FirmwareCommands, RestoreIsReachedByItsKeysOnly) {
    QAction* restore = frame()->action(ID_FIRMWARE_RESTORE);
    ASSERT_TRUE(restore);
    EXPECT_EQ(restore->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
    EXPECT_FALSE(frame()->toolBar()->actions().contains(restore));
    for (QAction* menu : frame()->menuBar()->actions()) EXPECT_FALSE(menu->menu()->actions().contains(restore));

    qv7test::WriteBytes(Path("old.bin").toStdString(), qv7test::Pattern(1114112, 9));
    files.answers = {Path("old.bin")};
    frame()->SendCommand(ID_FIRMWARE_RESTORE);
    EXPECT_EQ(choices.codeQuestions, 1);
    EXPECT_EQ(Bytes("printer/firmware.bin"), qv7test::Pattern(1114112, 9));
}

}  // namespace
