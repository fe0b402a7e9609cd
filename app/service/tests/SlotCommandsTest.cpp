// The send and get commands over a virtual printer, with the dialogs and the
// message boxes answered from scripts.
#include "SlotFilePath.h"
#include "VirtualPrinterService.h"

namespace {

using namespace quillory;
using quillorytest::ShownMessage;
using Press = quillorytest::ScriptedSlotDialogs::Press;

class SlotCommands : public quillorytest::VirtualPrinterService {
protected:
    QString Stored(const char* name) const { return settings->GetProfileString(name, "<absent>"); }

    quillorytest::ScriptedSlotDialogs dialogs;
};

TEST_F(SlotCommands, GetDataFileWritesTheSlotsFileUnderItsNameAskingBeforeItReplacesOne) {
    const QString folder = Path(QString::fromUtf8("Ann's labels für 2025 — a long folder name"));
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.presses = {{folder + "/", 2}};
    service.OnGetFile(FileKind::Data, dialogs, *settings, nullptr);
    EXPECT_EQ(dialogs.opened, QStringList{Path("home")}) << "the home folder stands for C:\\";
    EXPECT_EQ(Read(folder + "/STOCK.dat"), SlotBytes("DAT", 2));
    EXPECT_EQ(Stored("DataDownloadFolder"), folder) << "stored without its trailing separator";

    const QString target = folder + "/STOCK.dat";
    Write(target, "the user's own copy");
    prompt.shown.clear();
    prompt.answers = {MessageAnswer::No};
    dialogs.presses = {{folder, 2}};
    service.OnGetFile(FileKind::Data, dialogs, *settings, nullptr);
    EXPECT_EQ(prompt.shown.size(), 1u) << "asked before replacing";
    EXPECT_EQ(dialogs.outcomes, std::vector<std::string>{"stay"});
    EXPECT_EQ(Read(target), "the user's own copy") << "No leaves the file as it was";

    prompt.answers = {MessageAnswer::Yes};
    dialogs.presses = {{folder, 2}};
    service.OnGetFile(FileKind::Data, dialogs, *settings, nullptr);
    EXPECT_EQ(Read(target), SlotBytes("DAT", 2));
}

TEST_F(SlotCommands, EachRefusalShowsItsMessageAndKeepsTheDialogOpenUntilCancel) {
    const QString file = Path("label.qv7");
    Write(file, "label");
    const QString missing = Path("missing");
    struct Row {
        const char* situation;
        bool send;
        Press press;
        ShownMessage message;
        const char* outcome;
    };
    const Row rows[] = {
        {"get: folder missing", false, {missing, 1},
         {"Please select a valid destination folder", MessageIcon::None, MessageButtons::Ok}, "focus folder"},
        {"get: no source", false, {scratch.path(), kNoSlot},
         {"Please select a valid source file", MessageIcon::Stop, MessageButtons::Ok}, "stay"},
        {"send: source missing", true, {missing, 1},
         {"Please select a valid source file", MessageIcon::Exclamation, MessageButtons::Ok}, "stay"},
        {"send: refused by symbol browsing", true, {file, 1, false},
         {"Please select a valid source file", MessageIcon::Exclamation, MessageButtons::Ok}, "stay"},
        {"send: no slot", true, {file, kNoSlot},
         {"Please select a destination file slot", MessageIcon::Exclamation, MessageButtons::Ok}, "stay"},
    };
    for (const Row& row : rows) {
        prompt.shown.clear();
        dialogs.outcomes.clear();
        dialogs.presses = {row.press};
        if (row.send) {
            EXPECT_FALSE(service.OnSendFile(FileKind::Symbol, dialogs, *settings, nullptr, QString())) << row.situation;
        } else {
            service.OnGetFile(FileKind::Label, dialogs, *settings, nullptr);
        }
        EXPECT_EQ(prompt.shown, std::vector<ShownMessage>{row.message}) << row.situation;
        EXPECT_EQ(dialogs.outcomes, std::vector<std::string>{row.outcome}) << row.situation;
    }
    EXPECT_TRUE(windows.log.empty()) << "Cancel starts no transfer";
    EXPECT_EQ(Stored("LabelDownloadFolder"), "<absent>") << "Cancel stores nothing";
    EXPECT_EQ(Stored("SymbolUploadPath"), "<absent>");
}

TEST_F(SlotCommands, AStoredNameThatIsNoPlainFileNameIsRefusedAndNothingIsWritten) {
    StoreSlot("DAT", 4, "../PWN", "bytes");
    ASSERT_TRUE(service.RebuildCatalog());
    const QString folder = Path("get");
    ASSERT_TRUE(QDir().mkpath(folder));
    dialogs.presses = {{folder, 4}};
    service.OnGetFile(FileKind::Data, dialogs, *settings, nullptr);
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{UnusableStoredNameMessage("../PWN").toStdString()});
    EXPECT_EQ(dialogs.outcomes, std::vector<std::string>{"stay"});
    EXPECT_FALSE(QFile::exists(Path("PWN.dat")));
    EXPECT_TRUE(windows.log.empty());
}

TEST_F(SlotCommands, ASendStartsFromTheDroppedPathAndStoresItAfterOkEvenWhenTheJobRefuses) {
    const QString dropped = Path(QString::fromUtf8("shelf tag ü.qv7"));
    Write(dropped, "a new label");
    settings->WriteProfileString("LabelUploadPath", "/somewhere/else.qv7");
    dialogs.presses = {{dropped, 3}};
    EXPECT_TRUE(service.OnSendFile(FileKind::Label, dialogs, *settings, nullptr, dropped));
    EXPECT_EQ(SlotBytes("QV7", 3), "a new label");
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Label file transfer successful!"});
    EXPECT_EQ(Stored("LabelUploadPath"), dropped);
    EXPECT_EQ(dialogs.opened, QStringList{dropped});

    const QString notData = Path("notes.dat");
    Write(notData, "no data file marker here");
    prompt.shown.clear();
    dialogs.presses = {{notData, 1}};
    EXPECT_FALSE(service.OnSendFile(FileKind::Data, dialogs, *settings, nullptr, QString()));
    EXPECT_EQ(prompt.Texts(),
              std::vector<std::string>{"Error sending data file!  File may not be a valid QV7 data file..."});
    EXPECT_EQ(Stored("DataUploadPath"), notData);
}

TEST_F(SlotCommands, NoDialogOpensFromInsideARunningTransfer) {
    bool sent = true;
    windows.onPump = [&] {
        if (!dialogs.opened.isEmpty() || !sent) return;
        service.OnGetFile(FileKind::Symbol, dialogs, *settings, nullptr);
        sent = service.OnSendFile(FileKind::Symbol, dialogs, *settings, nullptr, Path("x.bmp"));
    };
    ASSERT_TRUE(service.ReceiveSymbol(1, Path("symbol.bmp"), nullptr));
    EXPECT_TRUE(dialogs.opened.isEmpty());
    EXPECT_FALSE(sent);
    EXPECT_TRUE(prompt.shown.empty());
}

}  // namespace
