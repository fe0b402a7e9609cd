// The send and get dialogs over the real tree, offscreen: what their slot
// lists offer, the folder field's button, browsing, and the menu commands.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "CFolderEdit.h"
#include "CGetFileDialog.h"
#include "CSendFileDialog.h"
#include "ProgramFixture.h"
#include "SlotDialogForms.h"
#include "StringTable.h"
#include "SymbolSourceChooser.h"

namespace {

using namespace quillory;
using quillorytest::ProgramTest;
using quillorytest::ShownMessage;

// Symbol browsing answered from a script: each browse picks the next file and
// says whether it may be sent, as the preview would.
class ScriptedSymbolChooser : public SymbolSourceChooser {
public:
    explicit ScriptedSymbolChooser(std::deque<std::pair<QString, bool>> picks) : picks_(std::move(picks)) {}
    bool Browse(QWidget*, const QString&, const QString&, QString* path) override {
        *path = picks_.front().first;
        acceptable_ = picks_.front().second;
        picks_.pop_front();
        return true;
    }
    bool IsAcceptable() const override { return acceptable_; }

private:
    std::deque<std::pair<QString, bool>> picks_;
    bool acceptable_ = true;
};

QStringList Texts(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
    return texts;
}

class SlotDialogs : public ProgramTest {
protected:
    // A printer with 3 label slots: the tree still shows 30.
    void SetUp() override {
        ProgramTest::SetUp();
        WritePrinterFile("printer.txt", "driver-version 3\ntype DAT 2\ntype QV7 3\ntype MAP 1\n");
        WritePrinterFile("slots/DAT/01.name", "PRICES\n");
        WritePrinterFile("slots/DAT/01.data", "prices");
        WritePrinterFile("slots/QV7/02.name", "Label02\n");
        WritePrinterFile("slots/QV7/02.data", "old label");
        Start();
    }

    void Select(FileKind kind, int slot) { view()->setCurrentItem(folderItem(kind)->child(slot - 1)); }

    std::unique_ptr<CSendFileDialog> SendDialog(SendFileForm& form, std::unique_ptr<SymbolSourceChooser> chooser) {
        return std::make_unique<CSendFileDialog>(form, *view(), files, std::move(chooser), frame());
    }
};

TEST_F(SlotDialogs, TheSlotListOffersTheKindsFilledTreeItemsAndPicksTheTreesSelection) {
    Select(FileKind::Label, 2);
    SendFileForm form(prompt, FileKind::Label, QString());
    auto send = SendDialog(form, nullptr);
    EXPECT_EQ(Texts(send->slotList()),
              (QStringList{"(Slot 1)  <empty slot>", "(Slot 2)  Label02.qv7", "(Slot 3)  <empty slot>"}))
        << "label slots 4 to 30 have no catalogue entry";
    EXPECT_EQ(send->slotList()->currentIndex(), 1);

    Select(FileKind::Label, 5);
    GetFileForm getForm(app->printerService(), prompt, FileKind::Data, Path("out") + "/");
    CGetFileDialog get(getForm, *view(), frame());
    EXPECT_EQ(Texts(get.sourceList()), (QStringList{"(Slot 1)  PRICES.dat", "(Slot 2)  <empty slot>"}));
    EXPECT_EQ(get.sourceList()->currentIndex(), -1) << "the selected item is not in the list";
    EXPECT_EQ(get.folderEdit()->field()->text(), Path("out")) << "shown without the trailing separator";

    view()->RebuildItems();
    CGetFileDialog afterRefresh(getForm, *view(), frame());
    EXPECT_EQ(afterRefresh.sourceList()->currentIndex(), -1) << "a fresh tree has no selection";
}

TEST_F(SlotDialogs, TheFolderFieldsBrowseButtonFollowsTheFieldAndFillsItFromThePicker) {
    GetFileForm form(app->printerService(), prompt, FileKind::Data, Path("printer"));
    CGetFileDialog get(form, *view(), frame());
    CFolderEdit* edit = get.folderEdit();
    edit->field()->setEnabled(false);
    EXPECT_FALSE(edit->browseButton()->isEnabled());
    edit->field()->setEnabled(true);
    EXPECT_TRUE(edit->browseButton()->isEnabled());

    QString startedAt;
    QString answer = "/srv/labels";
    edit->SetFolderPicker([&](QWidget*, const QString&, const QString& start) {
        startedAt = start;
        return answer;
    });
    edit->browseButton()->click();
    EXPECT_EQ(startedAt, Path("printer"));
    EXPECT_EQ(edit->field()->text(), "/srv/labels");
    answer.clear();
    edit->browseButton()->click();
    EXPECT_EQ(edit->field()->text(), "/srv/labels") << "a cancelled picker changes nothing";
}

TEST_F(SlotDialogs, BrowsingForADataFileStartsAtTheSourcePath) {
    SendFileForm form(prompt, FileKind::Data, Path("old.dat"));
    auto send = SendDialog(form, nullptr);
    files.answers = {Path("new.dat")};
    send->browseButton()->click();
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].ends_with("|" + Path("old.dat").toStdString()));
    EXPECT_EQ(send->sourceEdit()->text(), Path("new.dat"));
}

TEST_F(SlotDialogs, ASymbolTheBrowserRefusesBlocksOkUntilAnAcceptableOneIsChosen) {
    WritePrinterFile("../wrong.bmp", "150 x 151");
    WritePrinterFile("../right.bmp", "150 x 150");
    Select(FileKind::Symbol, 1);
    SendFileForm form(prompt, FileKind::Symbol, QString());
    auto send = SendDialog(form, std::make_unique<ScriptedSymbolChooser>(
                                     std::deque<std::pair<QString, bool>>{{Path("wrong.bmp"), false},
                                                                          {Path("right.bmp"), true}}));
    send->show();
    send->browseButton()->click();
    send->accept();
    EXPECT_TRUE(send->isVisible());
    EXPECT_EQ(prompt.Texts(), std::vector<std::string>{"Please select a valid source file"});

    send->browseButton()->click();
    send->accept();
    EXPECT_EQ(send->result(), QDialog::Accepted);
    EXPECT_EQ(form.sourcePath(), Path("right.bmp"));
    EXPECT_EQ(form.chosenSlot(), 1);
}

}  // namespace
